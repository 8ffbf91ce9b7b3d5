#include "app/theme/components/metrics_strip.h"

#include "app/theme/components/plain_label.h"
#include "app/theme/rounded_shape.h"
#include "app/theme/typeface.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>  // std::min
#include <cmath>      // std::abs

namespace kavrino {
namespace {

// The dark scheme's system colours: primary and secondary label text, control background and
// separator.
QColor primaryText() { return QColor::fromRgbF(1, 1, 1, 0.85f); }
QColor secondaryText() { return QColor::fromRgbF(1, 1, 1, 0.55f); }
QColor controlBackground() { return QColor(0x1e, 0x1e, 0x1e); }
QColor separator() { return QColor::fromRgbF(1, 1, 1, 0.1f); }

constexpr double kCornerRadius = 10;

QLabel* cellText(const QFont& font, const QColor& colour, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setWordWrap(false);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setTextColour(*label, colour);
    return label;
}

// The divider between two cells: a one-point line 28 points tall, 16 points clear each side.
class CellDivider final : public QWidget {
public:
    explicit CellDivider(QWidget* parent) : QWidget(parent) { setFixedSize(33, 28); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(QRect(16, 0, 1, height()), separator());
    }
};

// Drawn over the cells where the strip hides some of them: the cells fade into the strip's
// background at that edge, so a cut-off figure reads as "more this way", not as the end.
class EdgeFades final : public QWidget {
public:
    EdgeFades(QScrollArea* strip, QWidget* viewport) : QWidget(viewport), m_strip(strip) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const QScrollBar* bar = m_strip->horizontalScrollBar();
        const bool hiddenLeft = bar->value() > bar->minimum();
        const bool hiddenRight = bar->value() < bar->maximum();
        if (!hiddenLeft && !hiddenRight) return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setClipPath(continuousRoundedRect(QRectF(rect()), kCornerRadius));
        const QColor solid = controlBackground();
        QColor clear = solid;
        clear.setAlpha(0);
        const auto fade = [&](double from, double to) {
            QLinearGradient gradient(from, 0, to, 0);
            gradient.setColorAt(0, clear);
            gradient.setColorAt(1, solid);
            painter.fillRect(QRectF(std::min(from, to), 0, std::abs(to - from), height()), gradient);
        };
        if (hiddenRight) fade(width() - kFadeWidth, width());
        if (hiddenLeft) fade(kFadeWidth, 0);
    }

private:
    static constexpr double kFadeWidth = 36;
    QScrollArea* m_strip;
};

}  // namespace

MetricsStrip::MetricsStrip(QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("metricsStrip"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    viewport()->setAutoFillBackground(false);

    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("metricsStripContent"));
    content->setAutoFillBackground(false);
    auto* row = new QHBoxLayout(content);
    row->setContentsMargins(16, 12, 16, 12);
    row->setSpacing(0);
    row->setSizeConstraint(QLayout::SetFixedSize);
    for (size_t i = 0; i < m_values.size(); ++i) {
        if (i > 0) row->addWidget(new CellDivider(content), 0, Qt::AlignVCenter);
        auto* cell = new QVBoxLayout;
        cell->setContentsMargins(0, 0, 0, 0);
        cell->setSpacing(3);
        m_titles[i] = cellText(uiFont(10, QFont::DemiBold), secondaryText(), content);
        m_values[i] = cellText(calloutFont(), primaryText(), content);
        QFont value = m_values[i]->font();
        value.setWeight(QFont::DemiBold);
        m_values[i]->setFont(value);
        cell->addWidget(m_titles[i], 0, Qt::AlignLeft);
        cell->addWidget(m_values[i], 0, Qt::AlignLeft);
        row->addLayout(cell);
    }
    setWidget(content);
    content->setAutoFillBackground(false);  // setWidget turns it on; the strip paints its own
    m_fades = new EdgeFades(this, viewport());
    m_fades->raise();
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, m_fades, qOverload<>(&QWidget::update));
    connect(horizontalScrollBar(), &QScrollBar::rangeChanged, m_fades, qOverload<>(&QWidget::update));
}

bool MetricsStrip::hidesCells() const {
    return horizontalScrollBar()->maximum() > horizontalScrollBar()->minimum();
}

void MetricsStrip::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    m_fades->setGeometry(viewport()->rect());
}

void MetricsStrip::wheelEvent(QWheelEvent* event) {
    // The strip only scrolls sideways: an ordinary (vertical) wheel turn moves it too.
    const QPoint delta = event->angleDelta();
    const int step = delta.x() != 0 ? delta.x() : delta.y();
    if (step == 0 || !hidesCells()) {
        event->ignore();  // the page around it scrolls instead
        return;
    }
    QScrollBar* bar = horizontalScrollBar();
    const int before = bar->value();
    bar->setValue(before - step / 2);
    if (bar->value() == before) event->ignore();
}

void MetricsStrip::setMetrics(const std::array<Metric, 7>& metrics) {
    for (size_t i = 0; i < metrics.size(); ++i) {
        const Metric& metric = metrics[i];
        m_titles[i]->setObjectName(QStringLiteral("metricTitle_") + metric.key);
        m_titles[i]->setText(metric.title.toUpper());
        m_values[i]->setObjectName(QStringLiteral("metric_") + metric.key);
        m_values[i]->setText(metric.value);
        // The figure itself stays the label's accessible name; the title describes it.
        m_values[i]->setAccessibleDescription(metric.title);
        setTextColour(*m_values[i], metric.colour.isValid() ? metric.colour : primaryText());
    }
}

QLabel* MetricsStrip::valueLabel(const QString& key) const {
    for (QLabel* label : m_values) {
        if (label->objectName() == QStringLiteral("metric_") + key) return label;
    }
    return nullptr;
}

QSize MetricsStrip::sizeHint() const {
    const QSize content = widget()->sizeHint();
    return {content.width(), content.height()};
}

bool MetricsStrip::eventFilter(QObject* watched, QEvent* event) {
    // The cells settle their size only once their fonts are polished or their texts change;
    // the strip's height follows, so the bottom padding is never cut.
    if (watched == widget() && event->type() == QEvent::Resize) updateGeometry();
    return QScrollArea::eventFilter(watched, event);
}

QSize MetricsStrip::minimumSizeHint() const { return {0, widget()->sizeHint().height()}; }

void MetricsStrip::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing);
    paintCard(painter, QRectF(viewport()->rect()), kCornerRadius, controlBackground(), separator(), 0.5);
}

}  // namespace kavrino
