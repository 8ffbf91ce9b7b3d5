#pragma once
// The comparison pane: a picker that adds catalog bullets, fired at 2700 ft/s, as loads of its
// own comparison model; a chip per load (its series colour, name and velocity, and a button
// that removes it); one chart of elevation come-up against range with a line per load; and
// "Export CSV". With no load it shows an empty state instead of chips and chart. The pane owns
// its model: a pane built anew starts with an empty comparison.
#include <QUuid>
#include <QWidget>

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

class ComparisonView final : public QWidget {
    Q_OBJECT
public:
    ComparisonView(Catalog& catalog, const Platform& platform, QWidget* parent = nullptr);

    ComparisonModel& model() const { return *m_model; }

    // Runs each time the pane comes on screen: with KAVRINO_PRESET exactly "screenshot" and no
    // load yet, adds three factory loads.
    void onAppearPreset();
    // The "Export CSV" action.
    void exportCSV();

    QComboBox* picker() const { return m_picker; }
    QScrollArea* scrollArea() const { return m_scroll; }
    ComparisonChart* chart() const { return m_chart; }
    const std::vector<ComparisonChip*>& chips() const { return m_chips; }

protected:
    void showEvent(QShowEvent* event) override;

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
