#pragma once
// The workspace panes, in sidebar order: the one list that says which panes there are and how
// many. Positions 0-2 form the "WORKSPACE" group, positions 3 and above "PRO TOOLS". A new pane
// adds its case here (before `count`), its title and symbol in workspace_tab.cpp, and its factory
// in the registry.
#include <QString>

#include <array>
#include <cstddef>  // std::size_t
#include <optional>

namespace kavrino {

// `count` is no tab: it stays last, so it is the number of tabs declared before it.
enum class WorkspaceTab { solve, reload, catalog, comparison, visualize, truing, map, dataImport, count };

inline constexpr std::array kAllWorkspaceTabs = {
    WorkspaceTab::solve,      WorkspaceTab::reload, WorkspaceTab::catalog,
    WorkspaceTab::comparison, WorkspaceTab::visualize, WorkspaceTab::truing,
    WorkspaceTab::map,        WorkspaceTab::dataImport};

inline constexpr std::size_t kWorkspaceTabCount = kAllWorkspaceTabs.size();

// Position in the sidebar, 0 to kWorkspaceTabCount - 1.
constexpr int position(WorkspaceTab tab) { return static_cast<int>(tab); }

// Positions index arrays sized by the count: the list holds every case once, in declaration order,
// and no case is left out (a tab missing from the list would index past those arrays).
static_assert(kWorkspaceTabCount == std::size_t(WorkspaceTab::count),
              "kAllWorkspaceTabs lists every WorkspaceTab case before count");
static_assert([] {
    for (std::size_t i = 0; i < kWorkspaceTabCount; ++i)
        if (position(kAllWorkspaceTabs[i]) != int(i)) return false;
    return true;
}(), "kAllWorkspaceTabs lists the cases in declaration order, positions 0 to N-1");

// The pane's title, e.g. "GIS Targeting"; also its identity (raw value).
QString title(WorkspaceTab tab);
// The case name as spelled in code, e.g. "dataImport".
QString caseName(WorkspaceTab tab);
// The symbol shown in the sidebar, e.g. "scope" (see symbolIcon()).
QString systemImage(WorkspaceTab tab);
// "WORKSPACE" or "PRO TOOLS", by position.
QString group(WorkspaceTab tab);

// The tab whose title is exactly `rawValue` (case-sensitive); nothing otherwise.
std::optional<WorkspaceTab> workspaceTabFromTitle(const QString& rawValue);

// The pane named by the KAVRINO_TAB value `requested`, compared without regard to case with each
// pane's title and then its case name, in sidebar order; `solve` when absent or unmatched.
WorkspaceTab workspaceTabFromEnvironmentValue(const std::optional<QString>& requested);

}  // namespace kavrino
