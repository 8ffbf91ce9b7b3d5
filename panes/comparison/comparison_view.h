#pragma once
// The comparison pane: a picker that adds catalog bullets, fired at 2700 ft/s, as loads of its
// own comparison model; a chip per load (its series colour, name and velocity, and a button
// that removes it); one chart of elevation come-up against range with a line per load; and
// "Export CSV". With no load it shows an empty state instead of chips and chart. The pane owns
// its model: a pane built anew starts with an empty comparison.
#include "app/workspace/workspace_pane.h"

#include <QUuid>

#include <vector>

class QComboBox;
class QScrollArea;

namespace kavrino {

class Catalog;
class ComparisonChart;
class ComparisonChip;
class ComparisonModel;
class PanelCard;
class StyledButton;
struct Platform;

class ComparisonView final : public WorkspacePane {
    Q_OBJECT
public:
    // With `demonstrationPreset`, the pane fills in three factory loads when it appears.
    ComparisonView(Catalog& catalog, const Platform& platform, bool demonstrationPreset = false,
                   QWidget* parent = nullptr);

    ComparisonModel& model() const { return *m_model; }

    // Each time the pane comes on screen: under the demonstration preset with no load yet, adds
    // three factory loads.
    void appear() override;
    // The "Export CSV" action.
    void exportCSV();

    QComboBox* picker() const { return m_picker; }
    QScrollArea* scrollArea() const { return m_scroll; }
    ComparisonChart* chart() const { return m_chart; }
    const std::vector<ComparisonChip*>& chips() const { return m_chips; }

private:
    QWidget* buildEmptyState();
    void fillPicker();
    void pickBullet(int index);
    void refresh();
    void syncChips();
    // Runs `operation` on the model and shows the outcome once, however many changes it
    // announces on the way (an add announces one per load recomputed).
    template <typename Operation>
    void batched(Operation operation);

    Catalog& m_catalog;
    const Platform& m_platform;
    const bool m_demonstrationPreset;
    ComparisonModel* m_model;  // a child of the pane

    QScrollArea* m_scroll = nullptr;
    QComboBox* m_picker = nullptr;
    StyledButton* m_export = nullptr;
    PanelCard* m_emptyState = nullptr;
    QWidget* m_chipRow = nullptr;
    PanelCard* m_chartCard = nullptr;
    ComparisonChart* m_chart = nullptr;
    std::vector<ComparisonChip*> m_chips;
    std::vector<QUuid> m_chipLoads;  // the load of each chip, in order
    bool m_batching = false;
};

}  // namespace kavrino
