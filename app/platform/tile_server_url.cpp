#include "app/platform/tile_server_url.h"

#include "app/platform/environment.h"
#include "app/platform/map_logging.h"

#include <QUrl>

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

QString tileServerUrlFrom(const Environment& environment) {
    const std::optional<QString> chosen = environment.value(QStringLiteral("KAVRINO_TILE_URL"));
    const QString text = chosen ? chosen->trimmed() : QString::fromLatin1(kOpenStreetMapTiles);
    if (usableTemplate(text)) return text;
    // The map shows only its grid: say why, since nothing on screen does.
    if (!text.isEmpty()) {
        qCWarning(lcMap) << "KAVRINO_TILE_URL is not an http(s) URL with {z}, {x} and {y}:" << text << "- no tiles";
    }
    return {};
}

}  // namespace kavrino
