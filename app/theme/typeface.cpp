#include "app/theme/typeface.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

#include <cmath>  // std::floor

namespace kavrino {
namespace {

const char* const kFamily = "Lato";

// Qt's point sizes follow the screen's logical DPI; the system's points are pixels.
double logicalDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
}

}  // namespace

void installUiFonts() {
    static const bool installed = [] {
        for (const char* face : {"Lato-Regular", "Lato-Medium", "Lato-Semibold", "Lato-Bold"}) {
            QFontDatabase::addApplicationFont(QStringLiteral(":/ui/fonts/%1.ttf").arg(QLatin1String(face)));
        }
        QGuiApplication::setFont(uiFont(13));
        return true;
    }();
    (void)installed;
}

QFont uiFont(double points, QFont::Weight weight, double tracking) {
    QFont font(QString::fromLatin1(kFamily));
    if (points == std::floor(points)) {
        font.setPixelSize(int(points));
    } else {
        font.setPointSizeF(points * 72.0 / logicalDpi());
    }
    font.setWeight(weight);
    if (tracking != 0) font.setLetterSpacing(QFont::AbsoluteSpacing, tracking);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFont calloutFont() { return uiFont(12); }

}  // namespace kavrino
