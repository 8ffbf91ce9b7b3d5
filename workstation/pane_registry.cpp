#include "workstation/pane_registry.h"

#include "app/platform/platform.h"
#include "panes/catalog/catalog_view.h"
#include "panes/comparison/comparison_view.h"
#include "panes/import/import_view.h"
#include "panes/map/map_target_view.h"
#include "panes/map/tile_source.h"
#include "panes/reload/reload_view.h"
#include "panes/solve/solve_view.h"
#include "panes/trajectory/trajectory_view.h"
#include "panes/truing/truing_view.h"
#include "reload/reload_catalog.h"

#include <memory>

namespace kavrino {

WorkspacePanes workspacePanes() {
    WorkspacePanes panes;
    panes.set(WorkspaceTab::solve, [](const PaneContext& c) { return new SolveView(c.model, c.catalog, c.platform); });
    panes.set(WorkspaceTab::reload, [](const PaneContext&) { return new ReloadView(ReloadCatalog::shared()); });
    panes.set(WorkspaceTab::catalog, [](const PaneContext& c) { return new CatalogView(c.model, c.catalog); });
    panes.set(WorkspaceTab::comparison, [](const PaneContext& c) { return new ComparisonView(c.catalog, c.platform); });
    panes.set(WorkspaceTab::visualize, [](const PaneContext& c) { return new TrajectoryView3D(c.model, displaySpeedOfSound); });
    panes.set(WorkspaceTab::truing, [](const PaneContext& c) { return new TruingView(c.platform); });
    // One pause for the tile server while the program runs: a map opened again keeps waiting
    // as a server that asked to be left alone told the one before it.
    panes.set(WorkspaceTab::map, [pause = std::make_shared<TileServerPause>()](const PaneContext& c) {
        TileSource tiles = userTileSource(c.platform.environment);
        tiles.pause = pause;
        return new MapTargetView(initialMapTargetState(), tiles);
    });
    panes.set(WorkspaceTab::dataImport, [](const PaneContext& c) { return new ImportView(c.model, c.platform); });
    return panes;
}

}  // namespace kavrino
