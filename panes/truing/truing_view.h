#pragma once
// The truing pane: an editor of observed come-ups at known ranges, a switch to fit a BC scale
// as well, "Solve Truing", which runs the fit on the window's thread, and from the first fit on
// a result panel whose "Apply to load" takes the trued velocity into this pane's own load. The
// pane owns its truing model: a pane built anew starts from the default load and observations.
#include "app/workspace/workspace_pane.h"

#include <QUuid>

#include <map>
#include <memory>

class QScrollArea;
class QVBoxLayout;

namespace kavrino {

class ObservationRow;
class PanelCard;
class StyledButton;
class ToggleSwitch;
class TruingModel;
class TruingResultPanel;

class TruingView final : public WorkspacePane {
    Q_OBJECT
public:
    // With `demonstrationPreset`, the pane fits once when it appears.
    explicit TruingView(bool demonstrationPreset = false, QWidget* parent = nullptr);
    // With a model of the caller's (tests hand in one with their own integrator).
    explicit TruingView(std::unique_ptr<TruingModel> model, bool demonstrationPreset = false,
                        QWidget* parent = nullptr);
    // A value still being typed is committed, so leaving the pane loses no edit.
    ~TruingView() override;

    TruingModel& model() const { return *m_model; }

    // Each time the pane comes on screen: under the demonstration preset with no result yet,
    // fits once.
    void appear() override;
    // The "Solve Truing" action.
    void solveTruing();

    // The editor's rows, in list order.
    std::vector<ObservationRow*> observationRows() const;
    PanelCard* resultCard() const { return m_resultCard; }
    TruingResultPanel* resultPanel() const { return m_result; }

private:
    QWidget* buildObservations();
    void refresh();
    void syncRows();

    std::unique_ptr<TruingModel> m_model;
    const bool m_demonstrationPreset;

    QScrollArea* m_scroll = nullptr;
    QVBoxLayout* m_rowsLayout = nullptr;
    std::map<QUuid, ObservationRow*> m_rows;
    ToggleSwitch* m_trueBC = nullptr;
    PanelCard* m_resultCard = nullptr;
    TruingResultPanel* m_result = nullptr;
};

}  // namespace kavrino
