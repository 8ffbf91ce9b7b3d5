#include "panes/map/tile_loader.h"

#include "app/platform/map_logging.h"

#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace kavrino {
namespace {

constexpr qint64 kDiskCacheBytes = 100LL * 1024 * 1024;
// In kilobytes of decoded pixels: about 200 tiles of 256 × 256, several screens' worth.
constexpr int kMemoryCacheKiB = 200 * 256;
// A tile is drawn at most about 1.4 times its 256 pixels, or twice on a high-density screen:
// more detail than 512 pixels a side is never seen, and a larger tile is scaled down to that.
// At 8 bytes a pixel (16-bit channels) such a tile takes 2 MiB.
constexpr int kLargestTileSide = 2 * int(kTilePixels);
constexpr int kLargestTileKiB = kLargestTileSide * kLargestTileSide * 8 / 1024;
static_assert(kLargestTileKiB <= kMemoryCacheKiB, "every tile must fit the memory cache");
constexpr qint64 kRetryTileAfterMs = 60'000;
// Failures remembered: several screens of tiles. Past that the oldest are forgotten (and may be
// asked for once more), so panning over a server that fails everything cannot fill memory.
constexpr int kFailuresKept = 1000;
constexpr qint64 kPauseWhenUnreachableMs = 30'000;
constexpr qint64 kLeastServerWaitMs = 1000;
constexpr qint64 kLongestServerWaitMs = 24LL * 3600 * 1000;

// Set on replies the loader aborts itself, which are not failures.
constexpr char kDroppedProperty[] = "kavrinoTileDropped";
// Set on replies that may only come from the disk cache.
constexpr char kCacheOnlyProperty[] = "kavrinoTileCacheOnly";

QString tileName(const TileKey& key) { return QStringLiteral("%1/%2/%3").arg(key.z).arg(key.x).arg(key.y); }

// The wait a 429 (too many requests) or 503 (unavailable) reply asks for; nothing for any other
// reply, or one without a readable Retry-After.
std::optional<qint64> serverWaitMs(const QNetworkReply& reply) {
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if ((status != 429 && status != 503) || !reply.hasRawHeader("Retry-After")) return std::nullopt;
    const QDateTime serverNow = httpDate(reply.rawHeader("Date")).value_or(QDateTime::currentDateTimeUtc());
    return retryAfterMs(reply.rawHeader("Retry-After"), serverNow);
}

}  // namespace

std::optional<QDateTime> httpDate(const QByteArray& text) {
    static const QRegularExpression imf(QStringLiteral(R"(^[A-Za-z]{3}, (\d{2}) ([A-Za-z]{3}) (\d{4}) (\d{2}):(\d{2}):(\d{2}) GMT$)"));
    static const QRegularExpression rfc850(QStringLiteral(R"(^[A-Za-z]{6,9}, (\d{2})-([A-Za-z]{3})-(\d{2}) (\d{2}):(\d{2}):(\d{2}) GMT$)"));
    static const QRegularExpression asctime(QStringLiteral(R"(^[A-Za-z]{3} ([A-Za-z]{3}) ([ \d]\d) (\d{2}):(\d{2}):(\d{2}) (\d{4})$)"));
    const QString value = QString::fromLatin1(text.trimmed());
    // The fields' capture numbers in each form: day, month, year, hours, minutes, seconds.
    struct Form {
        const QRegularExpression& pattern;
        int day, month, year, hours;
    };
    for (const Form& form : {Form{imf, 1, 2, 3, 4}, Form{rfc850, 1, 2, 3, 4}, Form{asctime, 2, 1, 6, 3}}) {
        const QRegularExpressionMatch m = form.pattern.match(value);
        if (!m.hasMatch()) continue;
        // Month names are English whatever the user's language.
        static const QStringList months = QStringLiteral("jan feb mar apr may jun jul aug sep oct nov dec").split(' ');
        const int month = int(months.indexOf(m.captured(form.month).toLower())) + 1;
        int year = m.captured(form.year).toInt();
        if (m.capturedLength(form.year) == 2) {
            // A two-digit year more than 50 years ahead is in the past century.
            const int thisYear = QDate::currentDate().year();
            year += thisYear / 100 * 100;
            if (year > thisYear + 50) year -= 100;
        }
        const QDate date(year, month, m.captured(form.day).trimmed().toInt());
        const QTime time(m.captured(form.hours).toInt(), m.captured(form.hours + 1).toInt(),
                         m.captured(form.hours + 2).toInt());
        if (!date.isValid() || !time.isValid()) return std::nullopt;
        return QDateTime(date, time, Qt::UTC);
    }
    return std::nullopt;
}

std::optional<qint64> retryAfterMs(const QByteArray& value, const QDateTime& serverNow) {
    const QByteArray text = value.trimmed();
    qint64 ms = 0;
    static const QRegularExpression seconds(QStringLiteral(R"(^\d+$)"));
    if (seconds.match(QString::fromLatin1(text)).hasMatch()) {
        // Read digit by digit, held at a day: leading zeros count for nothing, and a number too
        // long for any integer type waits a day instead of wrapping round to a short wait.
        constexpr qint64 longestWaitSeconds = kLongestServerWaitMs / 1000;
        qint64 wholeSeconds = 0;
        for (const char digit : text) wholeSeconds = std::min(wholeSeconds * 10 + (digit - '0'), longestWaitSeconds);
        ms = wholeSeconds * 1000;
    } else if (const std::optional<QDateTime> until = httpDate(text)) {
        ms = serverNow.msecsTo(*until);
    } else {
        return std::nullopt;
    }
    return std::clamp(ms, kLeastServerWaitMs, kLongestServerWaitMs);
}

TileLoader::TileLoader(const TileSource& source, QObject* parent)
    : QObject(parent), m_source(source), m_network(new QNetworkAccessManager(this)),
      m_resume(new QTimer(this)) {
    m_clock.start();
    m_images.setMaxCost(kMemoryCacheKiB);
    m_network->setTransferTimeout(m_source.transferTimeoutMs);
    if (!m_source.cacheFolder.isEmpty()) {
        auto* cache = new QNetworkDiskCache(m_network);
        cache->setCacheDirectory(m_source.cacheFolder);
        cache->setMaximumCacheSize(kDiskCacheBytes);
        m_network->setCache(cache);
    }
    m_resume->setSingleShot(true);
    m_resume->setTimerType(Qt::PreciseTimer);  // a coarse timer may end a server's wait early
    connect(m_resume, &QTimer::timeout, this, [this] {
        m_cacheMisses.clear();
        startQueued();
    });
}

TileLoader::~TileLoader() {
    // Replies die with the access manager; their finished() must not reach a half-destroyed
    // loader.
    for (QNetworkReply* reply : std::as_const(m_inFlight)) reply->disconnect(this);
}

bool TileLoader::failedRecently(const TileKey& key) const {
    const auto found = m_failedAt.constFind(key);
    return found != m_failedAt.constEnd() && now() - *found < kRetryTileAfterMs;
}

void TileLoader::want(const QList<TileKey>& keys) {
    if (!m_source.enabled()) return;
    m_wanted = QSet<TileKey>(keys.cbegin(), keys.cend());
    m_queue.clear();
    for (const TileKey& key : keys) {
        if (m_images.contains(key) || m_inFlight.contains(key) || failedRecently(key)) continue;
        if (!m_queue.contains(key)) m_queue.append(key);
    }
    QList<QNetworkReply*> dropped;
    for (auto it = m_inFlight.cbegin(); it != m_inFlight.cend(); ++it) {
        if (!m_wanted.contains(it.key())) dropped.append(it.value());
    }
    for (QNetworkReply* reply : dropped) {
        reply->setProperty(kDroppedProperty, true);
        reply->abort();  // finished() runs now and frees the slot
    }
    startQueued();
}

void TileLoader::startQueued() {
    // While the server is left alone, only tiles already in the disk cache are read.
    const qint64 pausedMs = m_source.pause->remainingMs();
    const bool cacheOnly = pausedMs > 0;
    if (cacheOnly && !m_resume->isActive()) m_resume->start(int(pausedMs));
    if (cacheOnly && m_network->cache() == nullptr) return;
    for (int i = 0; i < m_queue.size() && m_inFlight.size() < m_source.maxRequestsInFlight;) {
        const TileKey key = m_queue.at(i);
        if (cacheOnly && m_cacheMisses.contains(key)) {
            ++i;
            continue;
        }
        m_queue.removeAt(i);
        QNetworkRequest request(m_source.urlFor(key));
        request.setHeader(QNetworkRequest::UserAgentHeader, m_source.userAgent);
        // A fresh copy in the disk cache is used without asking the server; a stale one is
        // revalidated.
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                             cacheOnly ? QNetworkRequest::AlwaysCache : QNetworkRequest::PreferCache);
        QNetworkReply* reply = m_network->get(request);
        reply->setProperty(kCacheOnlyProperty, cacheOnly);
        if (!cacheOnly) ++m_requestsStarted;
        m_inFlight.insert(key, reply);
        connect(reply, &QNetworkReply::finished, this, [this, reply, key] { finished(reply, key); });
    }
}

void TileLoader::finished(QNetworkReply* reply, const TileKey& key) {
    reply->deleteLater();
    if (m_inFlight.value(key) == reply) m_inFlight.remove(key);
    if (reply->property(kDroppedProperty).toBool()) return;

    if (reply->error() == QNetworkReply::NoError) {
        QImage image;
        if (image.loadFromData(reply->readAll()) && !image.isNull()) {
            keep(key, std::move(image));
        } else {
            qCDebug(lcMap).noquote() << "tile" << tileName(key) << "is not an image:" << reply->url().toString();
            noteFailure(key);
        }
    } else if (reply->property(kCacheOnlyProperty).toBool()) {
        m_cacheMisses.insert(key);  // not cached: asked for once the server may be back
        if (m_wanted.contains(key)) m_queue.append(key);
    } else if (const std::optional<qint64> waitMs = serverWaitMs(*reply)) {
        // Not the tile's fault: it is asked for again once the server's wait is over. The replies
        // already on their way when the server began its wait bring the same answer: one warning
        // per pause, so only a reply that finds the server not yet paused warns.
        const bool alreadyWaiting = m_source.pause->remainingMs() > 0;
        m_source.pause->holdFor(*waitMs);
        if (!alreadyWaiting) {
            qCWarning(lcMap).nospace() << "tile server " << reply->url().host() << " answered "
                                       << reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt()
                                       << " and asked to wait " << (*waitMs + 999) / 1000 << " s; not asked again until then";
        }
        if (m_wanted.contains(key)) m_queue.prepend(key);
    } else {
        qCDebug(lcMap).noquote() << "tile" << tileName(key) << "failed:" << reply->errorString();
        noteFailure(key);
        // No HTTP status: the server was not reached (offline, refused, timed out). Wait before
        // asking again rather than failing every tile in view in turn.
        if (!reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) {
            m_source.pause->holdFor(kPauseWhenUnreachableMs);
        }
    }
    startQueued();
}

void TileLoader::keep(const TileKey& key, QImage image) {
    if (image.width() > kLargestTileSide || image.height() > kLargestTileSide) {
        image = image.scaled(kLargestTileSide, kLargestTileSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (image.isNull()) return noteFailure(key);  // a sliver with no pixels left
    }
    const int kib = int(std::max<qint64>(1, image.sizeInBytes() / 1024));
    m_failedAt.remove(key);
    m_images.insert(key, new QImage(std::move(image)), kib);
    emit tileArrived(key);
}

void TileLoader::noteFailure(const TileKey& key) {
    m_failedAt.insert(key, now());
    if (m_failedAt.size() <= kFailuresKept) return;
    // Forget the failures that have run out, then the oldest, down to half the bound: the
    // newest, those of the tiles in view among them, stay.
    const qint64 at = now();
    m_failedAt.removeIf([at](const auto& failure) { return at - failure.value() >= kRetryTileAfterMs; });
    if (m_failedAt.size() <= kFailuresKept / 2) return;
    std::vector<qint64> times(m_failedAt.cbegin(), m_failedAt.cend());
    const auto newestHalf = times.end() - kFailuresKept / 2;
    std::nth_element(times.begin(), newestHalf, times.end());
    const qint64 cutoff = *newestHalf;
    m_failedAt.removeIf([cutoff](const auto& failure) { return failure.value() < cutoff; });
}

}  // namespace kavrino
