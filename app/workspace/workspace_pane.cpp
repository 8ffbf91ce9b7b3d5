#include "app/workspace/workspace_pane.h"

namespace kavrino {

WorkspacePane::WorkspacePane(QWidget* parent) : QWidget(parent) {}

void WorkspacePane::appear() {}

void WorkspacePane::retire() { m_connections.dropAll(); }

}  // namespace kavrino
