#include "app/shell/workspace_panes.h"

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

}  // namespace kavrino
