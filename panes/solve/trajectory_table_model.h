#pragma once
// The rows of the trajectory table: one per trajectory point, nine read-only text columns, and
// the red foreground of every row strictly slower than the speed of sound.
#include "core/ballistics.h"

#include <QAbstractTableModel>

#include <vector>

namespace kavrino {

class TrajectoryTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        RangeColumn,
        VelocityColumn,
        DropInchesColumn,
        DropMoaColumn,
        DropMilColumn,
        WindInchesColumn,
        WindMilColumn,
        EnergyColumn,
        TimeColumn,
        ColumnCount
    };

    explicit TrajectoryTableModel(QObject* parent = nullptr);

    // Replaces every row when the points differ from the shown ones (a re-solve gives new ids, so
    // it always does); the same list again changes nothing.
    void setPoints(const std::vector<TrajectoryPoint>& points);
    const std::vector<TrajectoryPoint>& points() const { return m_points; }

    // Rows whose velocity is strictly below this (ft/s) are drawn red. A NaN velocity is not
    // below it.
    void setSpeedOfSound(double feetPerSecond);
    double speedOfSound() const { return m_speedOfSound; }

    // Carried with the table for its callers; no column or colour reads it.
    void setMuzzleVelocity(double feetPerSecond) { m_muzzleVelocity = feetPerSecond; }
    double muzzleVelocity() const { return m_muzzleVelocity; }

    bool isSubsonic(int row) const;

    // The cell text: the column's printf format applied to the point's field.
    static QString cellText(const TrajectoryPoint& point, Column column);
    static QString columnTitle(Column column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<TrajectoryPoint> m_points;
    double m_speedOfSound = 1116.4;
    double m_muzzleVelocity = 0;
};

}  // namespace kavrino
