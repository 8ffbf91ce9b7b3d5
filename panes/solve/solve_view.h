#pragma once
// The solve pane: at the left a grouped form with every input of the shared solve model (load,
// rifle and zero, environment, output), at the right the results: a header with the solve time
// and the "Export DOPE" and "Solve" actions, the summary strip and the trajectory table. The
// pane keeps no state of its own; it shows the model again after every change.
#include "app/workspace/workspace_pane.h"

#include <vector>

class QComboBox;
class QLabel;
class QScrollArea;
class QSplitter;

namespace kavrino {

class Catalog;
class MetricsStrip;
class NumberField;
class SegmentedPicker;
class SolveModel;
class StyledButton;
class ToggleSwitch;
class TrajectoryTableView;
struct Platform;

class SolveView final : public WorkspacePane {
    Q_OBJECT
public:
    // With `demonstrationPreset`, the first appearance solves with a 50-yard step.
    SolveView(SolveModel& model, Catalog& catalog, const Platform& platform,
              bool demonstrationPreset = false, QWidget* parent = nullptr);
    // A value still being typed is committed (not solved), so leaving the pane loses no edit.
    ~SolveView() override;

    // Each time the pane comes on screen: under the demonstration preset with no trajectory
    // yet, the range step becomes 50 yd; then, with no trajectory, it solves.
    void appear() override;

    // The "Export DOPE" action: solve if there is nothing yet, draw the card, ask where to save
    // it and write it there; tells the user when the card could not be saved.
    void exportDopeCard();

    QSplitter* splitter() const { return m_splitter; }
    TrajectoryTableView* table() const { return m_table; }
    MetricsStrip* metricsStrip() const { return m_strip; }

private:
    QWidget* buildForm();
    QWidget* buildResults();
    void fillBulletPicker();
    void pickBullet(int index);
    void pickDragModel(int segment);
    void refresh();

    SolveModel& m_model;
    Catalog& m_catalog;
    const Platform& m_platform;
    const bool m_demonstrationPreset;

    QSplitter* m_splitter = nullptr;
    QComboBox* m_bulletPicker = nullptr;
    SegmentedPicker* m_dragModelPicker = nullptr;
    struct BoundField {
        NumberField* field;
        double (SolveModel::*read)() const;
    };
    std::vector<BoundField> m_fields;
    ToggleSwitch* m_spinDrift = nullptr;
    ToggleSwitch* m_coriolis = nullptr;
    QLabel* m_solvedIn = nullptr;
    MetricsStrip* m_strip = nullptr;
    TrajectoryTableView* m_table = nullptr;
};

}  // namespace kavrino
