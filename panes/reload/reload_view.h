#pragma once
// The reload pane: choose a cartridge and one of its loads, set the powder charge and the barrel
// length, and see the predicted muzzle velocity, peak pressure and case fill with the velocity
// and pressure curves against the charge.
//
// All data come from the reload catalog, which the pane asks to load (in the background) each
// time it comes on screen until it has loaded. Until then the pane shows that it is loading; a
// failed load shows the failure instead, and the next appearance tries again.
#include "app/workspace/workspace_pane.h"

class QSplitter;
class QStackedLayout;

namespace kavrino {

class PredictionColumn;
class ReloadCatalog;
class ReloadForm;
class ReloadSelection;

class ReloadView final : public WorkspacePane {
    Q_OBJECT
public:
    // The pane's choices live as long as the pane: shown again, it starts afresh.
    explicit ReloadView(ReloadCatalog& catalog, QWidget* parent = nullptr);

    // Each time the pane comes on screen: the catalog is asked to load (again, after a
    // failure), then the selection is resolved.
    void appear() override;

    ReloadSelection& selection() const { return *m_selection; }
    // The view on show: the failure, the loading or the split view (built once loaded).
    QWidget* currentView() const;
    QSplitter* splitter() const { return m_splitter; }
    ReloadForm* form() const { return m_form; }
    PredictionColumn* predictionColumn() const { return m_column; }

private:
    QWidget* buildFailureView();
    QWidget* buildLoadingView();
    void buildSplitView();
    void refresh();

    ReloadSelection* m_selection;
    QStackedLayout* m_views = nullptr;
    QWidget* m_failureView = nullptr;
    QWidget* m_loadingView = nullptr;
    QSplitter* m_splitter = nullptr;
    ReloadForm* m_form = nullptr;
    PredictionColumn* m_column = nullptr;
};

}  // namespace kavrino
