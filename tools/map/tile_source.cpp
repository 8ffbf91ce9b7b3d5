#include "tools/map/tile_source.h"

#include "app/platform/cache_folder.h"
#include "app/platform/environment.h"

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
    if (usableTemplate(text)) source.urlTemplate = text;
    return source;
}

TileSource userTileSource(const Environment& environment) {
    return tileSourceFrom(environment, userCacheFolder(QStringLiteral("tiles")));
}

}  // namespace kavrino
