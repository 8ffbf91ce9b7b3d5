#pragma once
// How the shell builds each workspace pane: one factory per tab, handed the pane's context.
// A tab without a factory shows an empty page on the background, titled by the header bar.
// The shell knows no pane by name: the executable's pane registry fills the factories.
#include "app/shell/workspace_tab.h"
#include "app/workspace/pane_context.h"

#include <array>
#include <functional>

namespace kavrino {

class WorkspacePane;

// Builds a new pane; the shell takes ownership of the widget.
using PaneFactory = std::function<WorkspacePane*(const PaneContext& context)>;

class WorkspacePanes {
public:
    void set(WorkspaceTab tab, PaneFactory factory) { m_factories[size_t(position(tab))] = std::move(factory); }
    // The pane for `tab`, or an empty page when no factory is set (or it returns nothing).
    WorkspacePane* build(WorkspaceTab tab, const PaneContext& context) const;

private:
    std::array<PaneFactory, kWorkspaceTabCount> m_factories;
};

// The page of a pane that is not built yet: nothing on the background.
WorkspacePane* emptyPane(WorkspaceTab tab);

}  // namespace kavrino
