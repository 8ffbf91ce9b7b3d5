#pragma once
// A tile server of our own on the loopback address, for tests: serves generated PNG tiles of
// one colour each (cacheable for a day), or fails every request with 500, or answers every one
// with 429 and "Retry-After: 1", or takes requests and never answers. Records every request it
// receives and when.
#include <QColor>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

namespace kavrino {

class LoopbackTileServer final : public QObject {
    Q_OBJECT
public:
    enum class Mode { serve, fail, busy, stall };

    explicit LoopbackTileServer(Mode mode = Mode::serve);
    ~LoopbackTileServer() override;

    void setMode(Mode mode) { m_mode = mode; }
    // The served tiles' width and height in pixels (256 unless set).
    void setTileSide(int pixels) { m_tileSide = pixels; }
    // "http://127.0.0.1:<port>/{z}/{x}/{y}.png"
    QString urlTemplate() const;
    // Stops listening and drops every connection: the server is gone.
    void close();

    // Request paths in the order they came, e.g. "/14/2983/5978.png".
    const QStringList& paths() const { return m_paths; }
    int requestCount() const { return int(m_paths.size()); }
    const QList<QByteArray>& userAgents() const { return m_userAgents; }
    // When each request came and when the last busy answer went out, in ms on the server's clock.
    const QList<qint64>& requestTimes() const { return m_requestTimes; }
    qint64 lastBusyAnswer() const { return m_lastBusyAnswer; }

    // The colour the server paints the tile z/x/y.
    static QColor colourFor(int z, int x, int y);

private:
    void accept();
    void read(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QByteArray& path);

    Mode m_mode;
    int m_tileSide = 256;
    QTcpServer m_server;
    QElapsedTimer m_clock;
    QList<qint64> m_requestTimes;
    qint64 m_lastBusyAnswer = -1;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QStringList m_paths;
    QList<QByteArray> m_userAgents;
};

}  // namespace kavrino
