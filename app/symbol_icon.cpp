#include "app/symbol_icon.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>  // std::ceil

namespace kavrino {

QIcon symbolIcon(const QString& name) {
    static QHash<QString, QIcon> cache;  // main thread only, like every view
    if (auto found = cache.constFind(name); found != cache.constEnd()) return *found;
    QIcon icon;
    QSvgRenderer renderer(QStringLiteral(":/ui/icons/%1.svg").arg(name));
    if (renderer.isValid()) {
        for (int side : {16, 32, 64}) {
            QPixmap pixmap(side, side);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            renderer.render(&painter, QRectF(0, 0, side, side));
            painter.end();
            icon.addPixmap(pixmap);
        }
    }
    cache.insert(name, icon);
    return icon;
}

QPixmap tintedPixmap(const QIcon& icon, const QColor& color, int side, double devicePixelRatio) {
    const int pixels = int(std::ceil(side * devicePixelRatio));
    QPixmap pixmap = icon.pixmap(QSize(pixels, pixels));
    if (pixmap.isNull()) return pixmap;
    if (pixmap.width() != pixels) {
        pixmap = pixmap.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    pixmap.setDevicePixelRatio(1.0);
    QPainter painter(&pixmap);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(pixmap.rect(), color);
    painter.end();
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

}  // namespace kavrino
