#pragma once
// The one place that knows every pane of the workstation.
#include "app/shell/workspace_panes.h"

namespace kavrino {

// The factory of each workspace pane, for the shell to build the selected one.
WorkspacePanes workspacePanes();

}  // namespace kavrino
