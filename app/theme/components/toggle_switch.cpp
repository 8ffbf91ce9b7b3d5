#include "app/theme/components/toggle_switch.h"

#include "app/theme/palette.h"
#include "app/theme/rounded_shape.h"

#include <QPainter>

namespace kavrino {

ToggleSwitch::ToggleSwitch(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
}

void ToggleSwitch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(isChecked() ? Palette::accent() : Palette::stroke(), 1));
    painter.setBrush(isChecked() ? Palette::accent() : Palette::raised());
    painter.drawPath(capsule(track));
    const double knob = track.height() - 4;
    const double x = isChecked() ? track.right() - 2 - knob : track.left() + 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(isDown() ? QColor::fromRgbF(0.85f, 0.86f, 0.9f) : QColor(Qt::white));
    painter.drawEllipse(QRectF(x, track.top() + 2, knob, knob));
    if (hasFocus()) {
        painter.setPen(QPen(withOpacity(Palette::accentBright(), 0.8), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(capsule(QRectF(rect()).adjusted(1, 1, -1, -1)));
    }
}

}  // namespace kavrino
