#include "workstation/pane_registry.h"

#include "app/platform/platform.h"
#include "core/ballistics.h"
#include "panes/catalog/catalog_view.h"
#include "panes/comparison/comparison_view.h"
#include "panes/import/import_view.h"
#include "panes/map/map_target_view.h"
#include "panes/map/map_targeting.h"
#include "panes/map/tile_source.h"
#include "panes/reload/reload_view.h"
#include "panes/solve/solve_view.h"
#include "panes/trajectory/trajectory_view.h"
#include "panes/truing/truing_view.h"

#include <iterator>  // std::size

namespace kavrino {
namespace {

struct PaneEntry {
    WorkspaceTab tab;
    WorkspacePane* (*build)(const PaneContext& context);
};

// Each pane from the context: what it uses, nothing else.
constexpr PaneEntry kPanes[] = {
    {WorkspaceTab::solve,
     [](const PaneContext& c) -> WorkspacePane* {
         return new SolveView(c.model, c.catalog, c.platform, c.demonstrationPreset);
     }},
    {WorkspaceTab::reload, [](const PaneContext& c) -> WorkspacePane* { return new ReloadView(c.reloadCatalog); }},
    {WorkspaceTab::catalog, [](const PaneContext& c) -> WorkspacePane* { return new CatalogView(c.model, c.catalog); }},
    {WorkspaceTab::comparison,
     [](const PaneContext& c) -> WorkspacePane* {
         return new ComparisonView(c.catalog, c.platform, c.demonstrationPreset);
     }},
    {WorkspaceTab::visualize,
     [](const PaneContext& c) -> WorkspacePane* { return new TrajectoryView3D(c.model, displaySpeedOfSound); }},
    {WorkspaceTab::truing, [](const PaneContext& c) -> WorkspacePane* { return new TruingView(c.demonstrationPreset); }},
    {WorkspaceTab::map,
     [](const PaneContext& c) -> WorkspacePane* {
         TileSource tiles = userTileSource(c.platform.tileServerUrl);
         tiles.pause = c.platform.tileServerPause;  // a map opened again keeps the server's wait
         return new MapTargetView(initialMapTargetState(), tiles);
     }},
    {WorkspaceTab::dataImport,
     [](const PaneContext& c) -> WorkspacePane* { return new ImportView(c.model, c.platform); }},
};

// Every tab of the sidebar has exactly one factory here, and nothing else does.
constexpr bool everyTabHasOneFactory() {
    if (std::size(kPanes) != kWorkspaceTabCount) return false;
    for (WorkspaceTab tab : kAllWorkspaceTabs) {
        int factories = 0;
        for (const PaneEntry& entry : kPanes) factories += entry.tab == tab ? 1 : 0;
        if (factories != 1) return false;
    }
    return true;
}
static_assert(everyTabHasOneFactory(), "every workspace tab needs exactly one pane factory in kPanes");

}  // namespace

WorkspacePanes workspacePanes() {
    WorkspacePanes panes;
    for (const PaneEntry& entry : kPanes) panes.set(entry.tab, entry.build);
    return panes;
}

}  // namespace kavrino
