#pragma once
// Where map tiles come from: an XYZ URL template, the credit the tiles ask for, the User-Agent
// the requests carry, the folder of the disk cache and the limits that keep the load on the tile
// server small.
#include "app/platform/tile_server_pause.h"
#include "panes/map/map_viewport.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <memory>  // std::shared_ptr

namespace kavrino {

// The credit OpenStreetMap's tiles' licence asks for, shown on the map while they are drawn.
QString tileAttribution();

struct TileSource {
    QString urlTemplate;  // "{z}", "{x}" and "{y}" stand for the tile; empty: no tiles
    QString attribution;  // the credit shown while these tiles are drawn; empty: none asked for
    QByteArray userAgent;
    QString cacheFolder;  // the disk cache; empty: tiles are cached in memory only
    // Few parallel downloads, as the public tile service asks of its users.
    int maxRequestsInFlight = 4;
    // A tile that has not finished by then is dropped, so a server that stops answering
    // does not hold the download slots.
    int transferTimeoutMs = 15000;
    // Shared by every copy of the source; the workstation hands in the program's one pause.
    std::shared_ptr<TileServerPause> pause = std::make_shared<TileServerPause>();

    bool enabled() const { return !urlTemplate.isEmpty(); }
    QUrl urlFor(const TileKey& key) const;
};

// "KavrinoPro/<version> (desktop ballistics workstation)": names the program to tile servers.
QByteArray tileUserAgent();

// The tile source of the server `urlTemplate`, as Platform::tileServerUrl gives it (empty: no
// tiles, the map shows its grid). Tiles from OpenStreetMap's servers carry its credit; any other
// server's carry none. `cacheFolder` holds the disk cache.
TileSource tileSourceFrom(const QString& urlTemplate, const QString& cacheFolder);
// The same, caching in the user's cache folder: what the workstation uses.
TileSource userTileSource(const QString& urlTemplate);

}  // namespace kavrino
