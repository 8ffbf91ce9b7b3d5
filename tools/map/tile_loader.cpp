#include "tools/map/tile_loader.h"

#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace kavrino {
namespace {

constexpr qint64 kDiskCacheBytes = 100LL * 1024 * 1024;
// In kilobytes of decoded pixels: about 200 tiles of 256 × 256, several screens' worth.
constexpr int kMemoryCacheKiB = 200 * 256;
constexpr qint64 kRetryTileAfterMs = 60'000;
constexpr qint64 kPauseWhenUnreachableMs = 30'000;

// Set on replies the loader aborts itself, which are not failures.
constexpr char kDroppedProperty[] = "kavrinoTileDropped";
// Set on replies that may only come from the disk cache.
constexpr char kCacheOnlyProperty[] = "kavrinoTileCacheOnly";

}  // namespace

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
    // While the server is out of reach, only tiles already in the disk cache are read.
    const bool cacheOnly = now() < m_pausedUntil;
    if (cacheOnly && !m_resume->isActive()) m_resume->start(int(m_pausedUntil - now()));
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
        ++m_requestsStarted;
        m_inFlight.insert(key, reply);
        connect(reply, &QNetworkReply::finished, this, [this, reply, key] { finished(reply, key); });
    }
}

void TileLoader::finished(QNetworkReply* reply, const TileKey& key) {
    reply->deleteLater();
    if (m_inFlight.value(key) == reply) m_inFlight.remove(key);
    if (reply->property(kDroppedProperty).toBool()) return;

    if (reply->error() == QNetworkReply::NoError) {
        auto image = std::make_unique<QImage>();
        if (image->loadFromData(reply->readAll()) && !image->isNull()) {
            const int kib = int(std::max<qint64>(1, image->sizeInBytes() / 1024));
            m_failedAt.remove(key);
            m_images.insert(key, image.release(), kib);
            emit tileArrived(key);
        } else {
            m_failedAt.insert(key, now());
        }
    } else if (reply->property(kCacheOnlyProperty).toBool()) {
        m_cacheMisses.insert(key);  // not cached: asked for once the server may be back
        if (m_wanted.contains(key)) m_queue.append(key);
    } else {
        m_failedAt.insert(key, now());
        // No HTTP status: the server was not reached (offline, refused, timed out). Wait before
        // asking again rather than failing every tile in view in turn.
        if (!reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) {
            m_pausedUntil = now() + kPauseWhenUnreachableMs;
        }
    }
    startQueued();
}

}  // namespace kavrino
