#pragma once
// Where map tiles come from: an XYZ URL template, the User-Agent the requests carry, the folder
// of the disk cache and the limits that keep the load on the tile server small.
#include "tools/map/map_viewport.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace kavrino {

class Environment;

// OpenStreetMap's public raster tiles.
inline constexpr char kOpenStreetMapTiles[] = "https://tile.openstreetmap.org/{z}/{x}/{y}.png";
// The credit the tiles' licence asks for, shown on the map.
QString tileAttribution();

struct TileSource {
    QString urlTemplate;  // "{z}", "{x}" and "{y}" stand for the tile; empty: no tiles
    QByteArray userAgent;
    QString cacheFolder;  // the disk cache; empty: tiles are cached in memory only
    // Few parallel downloads, as the public tile service asks of its users.
    int maxRequestsInFlight = 4;
    // A tile that has not finished by then is dropped, so a server that stops answering
    // does not hold the download slots.
    int transferTimeoutMs = 15000;

    bool enabled() const { return !urlTemplate.isEmpty(); }
    QUrl urlFor(const TileKey& key) const;
};

// "KavrinoPro/<version> (desktop ballistics workstation)": names the program to tile servers.
QByteArray tileUserAgent();

// The tile source the environment asks for: KAVRINO_TILE_URL when set, else OpenStreetMap's.
// A value that is empty, or not an http(s) URL holding {z}, {x} and {y}, turns tiles off (the
// map shows its grid). `cacheFolder` holds the disk cache.
TileSource tileSourceFrom(const Environment& environment, const QString& cacheFolder);
// The same, caching in the user's cache folder: what the workstation uses.
TileSource userTileSource(const Environment& environment);

}  // namespace kavrino
