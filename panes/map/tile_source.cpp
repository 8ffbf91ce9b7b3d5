#include "panes/map/tile_source.h"

#include "app/platform/cache_folder.h"
#include "app/platform/tile_server_url.h"

namespace kavrino {
namespace {

// tile.openstreetmap.org and its older a., b. and c. names.
bool isOpenStreetMapServer(const QUrl& url) {
    const QString host = url.host().toLower();
    const QString osm = QUrl(QString::fromLatin1(kOpenStreetMapTiles)).host();
    return host == osm || host.endsWith(QLatin1Char('.') + osm);
}

}  // namespace

QString tileAttribution() { return QStringLiteral("\u00a9 OpenStreetMap contributors"); }

QUrl TileSource::urlFor(const TileKey& key) const {
    QString text = urlTemplate;
    text.replace(QLatin1String("{z}"), QString::number(key.z));
    text.replace(QLatin1String("{x}"), QString::number(key.x));
    text.replace(QLatin1String("{y}"), QString::number(key.y));
    return QUrl(text);
}

QByteArray tileUserAgent() {
    return QByteArrayLiteral("KavrinoPro/" KAVRINO_VERSION " (desktop ballistics workstation)");
}

TileSource tileSourceFrom(const QString& urlTemplate, const QString& cacheFolder) {
    TileSource source;
    source.userAgent = tileUserAgent();
    source.cacheFolder = cacheFolder;
    source.urlTemplate = urlTemplate;
    if (isOpenStreetMapServer(QUrl(urlTemplate))) source.attribution = tileAttribution();
    return source;
}

TileSource userTileSource(const QString& urlTemplate) {
    return tileSourceFrom(urlTemplate, userCacheFolder(QStringLiteral("tiles")));
}

}  // namespace kavrino
