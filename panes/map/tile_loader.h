#pragma once
// Fetches map tiles in the background and keeps them at hand. The map says which tiles it
// shows (want()); the loader starts the missing ones a few at a time, drops the requests for
// tiles that went out of view, and announces each tile that arrives. Nothing here waits: the
// network replies come back through the event loop.
//
// Tiles kept: decoded in memory (the most recent two hundred or so; a tile larger than 512
// pixels a side is scaled down to that, so every tile fits), and the server's replies in a disk
// cache honouring the server's cache headers, so a tile seen once costs no request while it is
// fresh. Failures: a tile that failed is not asked for again for a minute (of the failures, the
// newest thousand are remembered); when the server cannot be reached at all, only the disk
// cache is read for half a minute, and when it answers 429 or 503 with Retry-After, for as long
// as it asks (a day at most). The map shows its grid wherever a tile is missing; nothing is
// reported to the user, but the log category kavrino.map tells (see app/platform/map_logging.h).
#include "panes/map/map_viewport.h"
#include "panes/map/tile_source.h"

#include <QCache>
#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSet>

#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace kavrino {

class TileLoader final : public QObject {
    Q_OBJECT
public:
    explicit TileLoader(const TileSource& source, QObject* parent = nullptr);
    ~TileLoader() override;

    const TileSource& source() const { return m_source; }

    // The tile's image when it has arrived; null otherwise.
    const QImage* tile(const TileKey& key) const { return m_images.object(key); }

    // The tiles in view, most wanted first. Starts what is missing, within the limits; forgets
    // queued tiles not listed and aborts their downloads.
    void want(const QList<TileKey>& keys);

    // For tests and diagnostics. Requests started that may reach the server: reads of the disk
    // cache alone, while the server is left alone, are not counted.
    int requestsStarted() const { return m_requestsStarted; }
    int requestsInFlight() const { return int(m_inFlight.size()); }
    QList<TileKey> tilesInFlight() const { return m_inFlight.keys(); }
    bool failedRecently(const TileKey& key) const;
    int failuresRemembered() const { return int(m_failedAt.size()); }

signals:
    // A tile became available through tile().
    void tileArrived(const TileKey& key);

private:
    void startQueued();
    void finished(QNetworkReply* reply, const TileKey& key);
    void keep(const TileKey& key, QImage image);
    void noteFailure(const TileKey& key);
    qint64 now() const { return m_clock.elapsed(); }

    TileSource m_source;
    QNetworkAccessManager* m_network = nullptr;
    QTimer* m_resume = nullptr;
    QElapsedTimer m_clock;
    QCache<TileKey, QImage> m_images;
    QList<TileKey> m_queue;
    QSet<TileKey> m_wanted;
    QHash<TileKey, QNetworkReply*> m_inFlight;
    QHash<TileKey, qint64> m_failedAt;  // ms on m_clock
    QSet<TileKey> m_cacheMisses;        // not in the disk cache, while the server is paused
    int m_requestsStarted = 0;
};

// An HTTP date in any of the three forms a server may send ("Sun, 06 Nov 1994 08:49:37 GMT",
// "Sunday, 06-Nov-94 08:49:37 GMT", "Sun Nov  6 08:49:37 1994"), in UTC; nothing for other text.
std::optional<QDateTime> httpDate(const QByteArray& text);

// How long a server asks to be left alone through its Retry-After value: whole seconds in any
// number of digits, leading zeros included, or an HTTP date read against `serverNow` (the
// server's own clock, from its reply's Date, so the two clocks need not agree). In milliseconds,
// at least a second (a server answering 0 is not asked again at once) and at most a day;
// nothing for a value that is neither form.
std::optional<qint64> retryAfterMs(const QByteArray& value, const QDateTime& serverNow);

}  // namespace kavrino
