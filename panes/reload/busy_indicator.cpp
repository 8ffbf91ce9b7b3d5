#include "panes/reload/busy_indicator.h"

#include "app/theme/palette.h"

#include <QPainter>
#include <QTimer>

#include <cmath>

namespace kavrino {

namespace {

constexpr int kSpokes = 12;
constexpr int kSide = 28;
constexpr int kStepMs = 1000 / kSpokes;  // one turn a second

}  // namespace

BusyIndicator::BusyIndicator(QWidget* parent) : QProgressBar(parent), m_timer(new QTimer(this)) {
    setRange(0, 0);
    setTextVisible(false);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_timer->setInterval(kStepMs);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % kSpokes;
        update();
    });
}

QSize BusyIndicator::sizeHint() const { return QSize(kSide, kSide); }

bool BusyIndicator::isTurning() const { return m_timer->isActive(); }

void BusyIndicator::showEvent(QShowEvent* event) {
    QProgressBar::showEvent(event);
    m_timer->start();
}

void BusyIndicator::hideEvent(QHideEvent* event) {
    m_timer->stop();
    QProgressBar::hideEvent(event);
}

void BusyIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double side = std::min(width(), height());
    painter.translate(width() / 2.0, height() / 2.0);
    const double outer = side / 2.0;
    const double inner = outer * 0.45;
    QPen pen(Palette::textSecondary(), side / 11.0, Qt::SolidLine, Qt::RoundCap);
    for (int i = 0; i < kSpokes; ++i) {
        // The spoke at the current step is brightest; those behind it fade.
        const int behind = (m_step - i + kSpokes) % kSpokes;
        QColor colour = Palette::textSecondary();
        colour.setAlphaF(float(1.0 - 0.8 * behind / double(kSpokes - 1)));
        pen.setColor(colour);
        painter.setPen(pen);
        const double angle = 2 * M_PI * i / kSpokes - M_PI / 2;
        const double cosA = std::cos(angle);
        const double sinA = std::sin(angle);
        painter.drawLine(QPointF(inner * cosA, inner * sinA), QPointF((outer - pen.widthF()) * cosA, (outer - pen.widthF()) * sinA));
    }
}

}  // namespace kavrino
