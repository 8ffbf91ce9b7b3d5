#include "panes/map/tile_source.h"

#include "app/platform/cache_folder.h"
#include "app/platform/environment.h"
#include "panes/map/map_logging.h"

namespace kavrino {
namespace {

bool usableTemplate(const QString& text) {
    for (const char* field : {"{z}", "{x}", "{y}"}) {
        if (!text.contains(QLatin1String(field))) return false;
    }
    const QUrl url(text);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

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

TileSource tileSourceFrom(const Environment& environment, const QString& cacheFolder) {
    TileSource source;
    source.userAgent = tileUserAgent();
    source.cacheFolder = cacheFolder;
    const std::optional<QString> chosen = environment.value(QStringLiteral("KAVRINO_TILE_URL"));
    const QString text = chosen ? chosen->trimmed() : QString::fromLatin1(kOpenStreetMapTiles);
    if (!usableTemplate(text)) {
        // The map shows only its grid: say why, since nothing on screen does.
        if (!text.isEmpty()) {
            qCWarning(lcMap) << "KAVRINO_TILE_URL is not an http(s) URL with {z}, {x} and {y}:" << text << "- no tiles";
        }
        return source;
    }
    source.urlTemplate = text;
    if (isOpenStreetMapServer(QUrl(text))) source.attribution = tileAttribution();
    return source;
}

TileSource userTileSource(const Environment& environment) {
    return tileSourceFrom(environment, userCacheFolder(QStringLiteral("tiles")));
}

}  // namespace kavrino
