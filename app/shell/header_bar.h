#pragma once
// The bar above the selected pane: its group ("WORKSPACE" or "PRO TOOLS") over its title.
#include "app/shell/workspace_tab.h"

#include <QWidget>

class QLabel;

namespace kavrino {

class HeaderBar final : public QWidget {
    Q_OBJECT
public:
    explicit HeaderBar(WorkspaceTab tab, QWidget* parent = nullptr);
    void setTab(WorkspaceTab tab);

    QString groupText() const;
    QString titleText() const;

private:
    QLabel* m_group;
    QLabel* m_title;
};

}  // namespace kavrino
