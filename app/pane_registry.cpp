#include "app/pane_registry.h"

#include "app/panes/solve/solve_view.h"

namespace kavrino {

WorkspacePanes workspacePanes() {
    WorkspacePanes panes;
    panes.set(WorkspaceTab::solve, [](const PaneContext& c) { return new SolveView(c.model, c.catalog, c.platform); });
    return panes;
}

}  // namespace kavrino
