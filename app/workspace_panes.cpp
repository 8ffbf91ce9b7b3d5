#include "app/workspace_panes.h"

#include "app/solve_view.h"

#include <QWidget>

namespace kavrino {

QWidget* emptyPane(WorkspaceTab tab) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("emptyPane_") + caseName(tab));
    return page;
}

QWidget* WorkspacePanes::build(WorkspaceTab tab, const PaneContext& context) const {
    const PaneFactory& factory = m_factories[size_t(position(tab))];
    QWidget* pane = factory ? factory(context) : nullptr;
    return pane != nullptr ? pane : emptyPane(tab);
}

WorkspacePanes workspacePanes() {
    WorkspacePanes panes;
    // One line per pane, e.g.:
    // panes.set(WorkspaceTab::solve, [](const PaneContext& c) { return new SolveView(c.model, c.catalog, c.platform); });
    panes.set(WorkspaceTab::solve, [](const PaneContext& c) { return new SolveView(c.model, c.catalog, c.platform); });
    return panes;
}

}  // namespace kavrino
