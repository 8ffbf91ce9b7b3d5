#pragma once
// The read-only table of a solved trajectory: nine columns (range, velocity, drop in inches, MOA
// and mil, wind in inches and mil, energy, time of flight), one row per point, alternating row
// backgrounds inset from the card's edges, digits of equal width, and every row slower than
// the speed of sound in red. No sorting, selection or editing.
#include "core/ballistics.h"

#include <QTableView>

#include <vector>

namespace kavrino {

class TrajectoryTableModel;

class TrajectoryTableView final : public QTableView {
    Q_OBJECT
public:
    explicit TrajectoryTableView(QWidget* parent = nullptr);

    // The table's three inputs. `speedOfSound` (ft/s) is the subsonic threshold; the solve pane
    // passes 1116.4. `muzzleVelocity` is carried along; nothing shown depends on it.
    void setInputs(const std::vector<TrajectoryPoint>& points, double muzzleVelocity,
                   double speedOfSound);

    TrajectoryTableModel* tableModel() const { return m_model; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitColumns();

    TrajectoryTableModel* m_model;
};

}  // namespace kavrino
