#include "app/shell/workspace_panes.h"

#include "app/workspace/workspace_pane.h"

namespace kavrino {

WorkspacePane* emptyPane(WorkspaceTab tab) {
    auto* page = new WorkspacePane;
    page->setObjectName(QStringLiteral("emptyPane_") + caseName(tab));
    return page;
}

WorkspacePane* WorkspacePanes::build(WorkspaceTab tab, const PaneContext& context) const {
    const PaneFactory& factory = m_factories[size_t(position(tab))];
    WorkspacePane* pane = factory ? factory(context) : nullptr;
    return pane != nullptr ? pane : emptyPane(tab);
}

}  // namespace kavrino
