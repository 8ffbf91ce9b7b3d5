#include "app/theme/components/button_styles.h"

#include "app/theme/palette.h"
#include "app/theme/rounded_shape.h"
#include "app/theme/symbol_icon.h"
#include "app/theme/typeface.h"

#include <QEasingCurve>
#include <QGraphicsDropShadowEffect>
#include <QLinearGradient>
#include <QPainter>
#include <QVariantAnimation>

namespace kavrino {
namespace {

constexpr int kPressMilliseconds = 120;
constexpr int kIconSide = 15;       // a symbol at 13 points
constexpr int kIconTextSpacing = 6;

// The platform's ease-out timing curve: cubic Bezier (0, 0) (0.58, 1).
QEasingCurve easeOut() {
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0, 0), QPointF(0.58, 1), QPointF(1, 1));
    return curve;
}

struct LookOf {
    ButtonLook operator()(const PrimaryButtonStyle& s) const {
        ButtonLook look;
        look.font = uiFont(13, QFont::DemiBold);
        look.labelColor = Qt::white;
        look.horizontalPadding = 16;
        look.verticalPadding = 9;
        look.cornerRadius = 9;
        look.fillTop = withOpacity(s.tint, 0.95);
        look.fillBottom = withOpacity(s.tint, 0.78);
        look.border = withOpacity(Qt::white, 0.14);
        look.shadow = true;
        look.shadowColor = withOpacity(s.tint, 0.4);
        look.pressedOpacity = 0.85;
        look.pressedScale = 0.98;
        look.animated = true;
        return look;
    }
    ButtonLook operator()(const SecondaryButtonStyle& s) const {
        ButtonLook look;
        look.font = uiFont(13, QFont::Medium);
        look.labelColor = s.tint;
        look.horizontalPadding = 14;
        look.verticalPadding = 8;
        look.cornerRadius = 9;
        look.fillTop = look.fillBottom = Palette::raised();
        look.border = Palette::stroke();
        look.pressedOpacity = 0.8;
        look.pressedScale = 0.98;
        look.animated = true;
        return look;
    }
    ButtonLook operator()(const IconButtonStyle&) const {
        ButtonLook look;
        look.font = uiFont(13, QFont::Medium);
        look.labelColor = Palette::textSecondary();
        look.fixedSide = 28;
        look.cornerRadius = 7;
        look.fillTop = look.fillBottom = Palette::raised();
        look.border = Palette::stroke();
        look.pressedOpacity = 0.7;
        return look;
    }
};

}  // namespace

ButtonLook buttonLook(const ButtonStyle& style) { return std::visit(LookOf{}, style); }

QSize buttonSize(const ButtonLook& look, const QString& text, bool hasIcon) {
    if (look.fixedSide > 0) return QSize(look.fixedSide, look.fixedSide);
    const QFontMetrics metrics(look.font);
    int width = metrics.horizontalAdvance(text);
    if (hasIcon) width += kIconSide + (text.isEmpty() ? 0 : kIconTextSpacing);
    const int height = std::max(metrics.height(), hasIcon ? kIconSide : 0);
    return QSize(width + 2 * look.horizontalPadding, height + 2 * look.verticalPadding);
}

void paintButton(QPainter& painter, const QRectF& bounds, const ButtonLook& look, const QString& text,
                 const QIcon& icon, double pressProgress, bool enabled, double devicePixelRatio) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const double opacity = 1.0 + (look.pressedOpacity - 1.0) * pressProgress;
    painter.setOpacity(painter.opacity() * opacity * (enabled ? 1.0 : 0.5));
    const double scale = 1.0 + (look.pressedScale - 1.0) * pressProgress;
    if (scale != 1.0) {
        painter.translate(bounds.center());
        painter.scale(scale, scale);
        painter.translate(-bounds.center());
    }

    QLinearGradient fill(bounds.topLeft(), bounds.bottomLeft());
    fill.setColorAt(0, look.fillTop);
    fill.setColorAt(1, look.fillBottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(continuousRoundedRect(bounds, look.cornerRadius));
    paintInnerBorder(painter, bounds, look.cornerRadius, look.border);

    // The label: an optional symbol then the title, centred as one group.
    const QFontMetrics metrics(look.font);
    const bool hasIcon = !icon.isNull();
    const int textWidth = metrics.horizontalAdvance(text);
    const int groupWidth = (hasIcon ? kIconSide : 0) +
                           (hasIcon && !text.isEmpty() ? kIconTextSpacing : 0) + textWidth;
    double x = bounds.center().x() - groupWidth / 2.0;
    if (hasIcon) {
        const QRectF iconRect(x, bounds.center().y() - kIconSide / 2.0, kIconSide, kIconSide);
        painter.drawPixmap(iconRect.toRect(),
                           tintedPixmap(icon, look.labelColor, kIconSide, devicePixelRatio));
        x += kIconSide + kIconTextSpacing;
    }
    if (!text.isEmpty()) {
        painter.setFont(look.font);
        painter.setPen(look.labelColor);
        painter.drawText(QRectF(x, bounds.top(), textWidth + 1, bounds.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    painter.restore();
}

StyledButton::StyledButton(const QString& text, const ButtonStyle& style, QWidget* parent)
    : QPushButton(text, parent), m_animation(new QVariantAnimation(this)) {
    m_animation->setDuration(kPressMilliseconds);
    m_animation->setEasingCurve(easeOut());
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_progress = value.toDouble();
        update();
    });
    connect(this, &QAbstractButton::pressed, this, [this] { pressChanged(true); });
    connect(this, &QAbstractButton::released, this, [this] { pressChanged(false); });
    setButtonStyle(style);
}

StyledButton::StyledButton(const QIcon& icon, const QString& accessibleName,
                           const ButtonStyle& style, QWidget* parent)
    : StyledButton(QString(), style, parent) {
    setIcon(icon);
    setAccessibleName(accessibleName);
    setToolTip(accessibleName);
}

void StyledButton::setButtonStyle(const ButtonStyle& style) {
    m_look = buttonLook(style);
    setFont(m_look.font);
    if (m_look.shadow) {
        auto* effect = qobject_cast<QGraphicsDropShadowEffect*>(graphicsEffect());
        if (effect == nullptr) {
            effect = new QGraphicsDropShadowEffect(this);
            setGraphicsEffect(effect);
        }
        effect->setBlurRadius(8);
        effect->setOffset(0, 3);
        effect->setColor(m_look.shadowColor);
    } else {
        setGraphicsEffect(nullptr);
    }
    if (m_look.fixedSide > 0) {
        setFixedSize(m_look.fixedSide, m_look.fixedSide);
    } else {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
    updateGeometry();
    update();
}

void StyledButton::pressChanged(bool down) {
    const double target = down ? 1.0 : 0.0;
    m_animation->stop();
    if (!m_look.animated) {
        m_progress = target;
        update();
        return;
    }
    m_animation->setStartValue(m_progress);
    m_animation->setEndValue(target);
    m_animation->start();
}

double StyledButton::currentOpacity() const {
    return 1.0 + (m_look.pressedOpacity - 1.0) * m_progress;
}

double StyledButton::currentScale() const { return 1.0 + (m_look.pressedScale - 1.0) * m_progress; }

QSize StyledButton::sizeHint() const { return buttonSize(m_look, text(), !icon().isNull()); }

void StyledButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintButton(painter, QRectF(rect()), m_look, text(), icon(), m_progress, isEnabled(),
                devicePixelRatioF());
}

}  // namespace kavrino
