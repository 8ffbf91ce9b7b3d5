#pragma once
// The truing pane: an editor of observed come-ups at known ranges, a switch to fit a BC scale
// as well, "Solve Truing", which runs the fit on the window's thread, and from the first fit on
// a result panel whose "Apply to load" takes the trued velocity into this pane's own load. The
// pane owns its truing model: a pane built anew starts from the default load and observations.
#include <QUuid>
#include <QWidget>

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
struct Platform;

class TruingView final : public QWidget {
    Q_OBJECT
public:
    explicit TruingView(const Platform& platform, QWidget* parent = nullptr);
    // With a model of the caller's (tests hand in one with their own integrator).
    TruingView(std::unique_ptr<TruingModel> model, const Platform& platform, QWidget* parent = nullptr);
    // A value still being typed is committed, so leaving the pane loses no edit.
    ~TruingView() override;

    TruingModel& model() const { return *m_model; }

    // Runs each time the pane comes on screen: with KAVRINO_PRESET exactly "screenshot" and no
    // result yet, fits once.
    void onAppearPreset();
    // The "Solve Truing" action.
    void solveTruing();

    // The editor's rows, in list order.
    std::vector<ObservationRow*> observationRows() const;
    PanelCard* resultCard() const { return m_resultCard; }
    TruingResultPanel* resultPanel() const { return m_result; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildObservations();
    void refresh();
    void syncRows();

    std::unique_ptr<TruingModel> m_model;
    const Platform& m_platform;

    QScrollArea* m_scroll = nullptr;
    QVBoxLayout* m_rowsLayout = nullptr;
    std::map<QUuid, ObservationRow*> m_rows;
    ToggleSwitch* m_trueBC = nullptr;
    PanelCard* m_resultCard = nullptr;
    TruingResultPanel* m_result = nullptr;
};

}  // namespace kavrino
