#pragma once
// The eight workspace panes, in sidebar order. Positions 0-2 form the "WORKSPACE" group,
// positions 3 and above "PRO TOOLS".
#include <QString>

#include <array>
#include <optional>

namespace kavrino {

enum class WorkspaceTab { solve, reload, catalog, comparison, visualize, truing, map, dataImport };

inline constexpr std::array<WorkspaceTab, 8> kAllWorkspaceTabs = {
    WorkspaceTab::solve,      WorkspaceTab::reload, WorkspaceTab::catalog,
    WorkspaceTab::comparison, WorkspaceTab::visualize, WorkspaceTab::truing,
    WorkspaceTab::map,        WorkspaceTab::dataImport};

// Position in the sidebar, 0-7.
constexpr int position(WorkspaceTab tab) { return static_cast<int>(tab); }

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
