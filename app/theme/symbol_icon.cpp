#include "app/theme/symbol_icon.h"

#include <QFile>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>  // std::ceil

namespace kavrino {

QIcon symbolIcon(const QString& name) {
    // Rendered once per symbol. Images rather than pixmaps are kept, so nothing outlives the
    // application object that pixmaps need.
    static QHash<QString, QList<QImage>> rendered;  // main thread only, like every view
    auto found = rendered.find(name);
    if (found == rendered.end()) {
        QList<QImage> images;
        QSvgRenderer renderer(QStringLiteral(":/ui/icons/%1.svg").arg(name));
        if (renderer.isValid()) {
            for (int side : {16, 32, 64}) {
                QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
                image.fill(Qt::transparent);
                QPainter painter(&image);
                painter.setRenderHint(QPainter::Antialiasing);
                renderer.render(&painter, QRectF(0, 0, side, side));
                painter.end();
                images << image;
            }
        }
        found = rendered.insert(name, images);
    }
    QIcon icon;
    for (const QImage& image : *found) icon.addPixmap(QPixmap::fromImage(image));
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
