#include "loopback_tile_server.h"

#include <QBuffer>
#include <QImage>
#include <QRegularExpression>
#include <QTcpSocket>

namespace kavrino {

LoopbackTileServer::LoopbackTileServer(Mode mode) : m_mode(mode) {
    m_clock.start();
    connect(&m_server, &QTcpServer::newConnection, this, &LoopbackTileServer::accept);
    m_server.listen(QHostAddress::LocalHost, 0);
}

LoopbackTileServer::~LoopbackTileServer() {
    // The sockets outlive the bookkeeping: they must not report their end to it.
    for (QTcpSocket* socket : m_buffers.keys()) socket->disconnect(this);
}

QString LoopbackTileServer::urlTemplate() const {
    return QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(m_server.serverPort());
}

void LoopbackTileServer::close() {
    m_server.close();
    for (QTcpSocket* socket : m_buffers.keys()) socket->abort();  // disconnected() forgets it
}

QColor LoopbackTileServer::colourFor(int z, int x, int y) {
    return QColor::fromHsv((x * 37 + y * 91 + z * 13) % 360, 90, 230);
}

void LoopbackTileServer::accept() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        m_buffers.insert(socket, {});
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);  // answers go out at once
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void LoopbackTileServer::read(QTcpSocket* socket) {
    QByteArray& buffer = m_buffers[socket];
    buffer += socket->readAll();
    // GET requests carry no body: each ends with an empty line.
    for (qsizetype end; (end = buffer.indexOf("\r\n\r\n")) >= 0;) {
        const QByteArray head = buffer.left(end);
        buffer.remove(0, end + 4);
        const QList<QByteArray> lines = head.split('\n');
        const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
        const QByteArray path = requestLine.value(1);
        for (const QByteArray& line : lines) {
            if (line.toLower().startsWith("user-agent:")) m_userAgents << line.mid(11).trimmed();
        }
        m_paths << QString::fromLatin1(path);
        m_requestTimes << m_clock.elapsed();
        answer(socket, path);
    }
}

void LoopbackTileServer::answer(QTcpSocket* socket, const QByteArray& path) {
    switch (m_mode) {
    case Mode::stall: return;
    case Mode::fail:
        socket->write("HTTP/1.1 500 Internal Server Error\r\nContent-Length: 0\r\n\r\n");
        return;
    case Mode::busy:
        socket->write("HTTP/1.1 429 Too Many Requests\r\nRetry-After: 1\r\nContent-Length: 0\r\n\r\n");
        socket->flush();
        m_lastBusyAnswer = m_clock.elapsed();
        return;
    case Mode::serve: break;
    }
    static const QRegularExpression tilePath(QStringLiteral("^/(\\d+)/(\\d+)/(\\d+)\\.png$"));
    const QRegularExpressionMatch match = tilePath.match(QString::fromLatin1(path));
    if (!match.hasMatch()) {
        socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
        return;
    }
    QImage tile(m_tileSide, m_tileSide, QImage::Format_RGB32);
    tile.fill(colourFor(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt()));
    QByteArray png;
    QBuffer device(&png);
    device.open(QIODevice::WriteOnly);
    tile.save(&device, "PNG");
    socket->write("HTTP/1.1 200 OK\r\n"
                  "Content-Type: image/png\r\n"
                  "Cache-Control: max-age=86400\r\n"
                  "Content-Length: " + QByteArray::number(png.size()) + "\r\n\r\n");
    socket->write(png);
}

}  // namespace kavrino
