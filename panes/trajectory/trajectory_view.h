#pragma once
// The trajectory page: the current solution of the shared solve model as three charts against
// range on one scrolling page: the bullet's path against the line of sight, and below it side
// by side the wind drift and the retained velocity with its Mach 1 rule. The page only reads
// the model, except that it solves once when it comes on screen with no trajectory.
#include "app/workspace/workspace_pane.h"
#include "core/ballistics.h"

#include <vector>

class QScrollArea;

namespace kavrino {

class ChartCard;
class RangeChart;
class SolveModel;

class TrajectoryView3D final : public WorkspacePane {
    Q_OBJECT
public:
    // `speedOfSound` (ft/s) places the "Mach 1" rule; the shell passes displaySpeedOfSound.
    TrajectoryView3D(SolveModel& model, double speedOfSound, QWidget* parent = nullptr);

    // Draws `points` in the three charts. The page calls it with the model's trajectory after
    // every change while it is on screen.
    void showTrajectory(const std::vector<TrajectoryPoint>& points);

    // Each time the page comes on screen: it draws what the model holds and, with no
    // trajectory, solves.
    void appear() override;

    QScrollArea* scrollArea() const { return m_scroll; }
    RangeChart* pathChart() const { return m_path; }
    RangeChart* driftChart() const { return m_drift; }
    RangeChart* velocityChart() const { return m_velocity; }
    ChartCard* pathCard() const { return m_pathCard; }
    ChartCard* driftCard() const { return m_driftCard; }
    ChartCard* velocityCard() const { return m_velocityCard; }

private:
    void refresh();

    SolveModel& m_model;
    QScrollArea* m_scroll;
    RangeChart* m_path;
    RangeChart* m_drift;
    RangeChart* m_velocity;
    ChartCard* m_pathCard;
    ChartCard* m_driftCard;
    ChartCard* m_velocityCard;
    std::vector<TrajectoryPoint> m_shown;  // what the charts draw, to skip changes of inputs only
};

}  // namespace kavrino
