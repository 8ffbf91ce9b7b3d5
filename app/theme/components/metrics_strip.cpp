#include "app/theme/components/metrics_strip.h"

#include "app/theme/rounded_shape.h"
#include "app/theme/typeface.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>

namespace kavrino {
namespace {

// The dark scheme's system colours: primary and secondary label text, control background and
// separator.
QColor primaryText() { return QColor::fromRgbF(1, 1, 1, 0.85f); }
QColor secondaryText() { return QColor::fromRgbF(1, 1, 1, 0.55f); }
QColor controlBackground() { return QColor(0x1e, 0x1e, 0x1e); }
QColor separator() { return QColor::fromRgbF(1, 1, 1, 0.1f); }

constexpr double kCornerRadius = 10;

void setTextColour(QLabel* label, const QColor& colour) {
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour);
    label->setPalette(colours);
}

QLabel* cellText(const QFont& font, const QColor& colour, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setWordWrap(false);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setTextColour(label, colour);
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
        setTextColour(m_values[i], metric.colour.isValid() ? metric.colour : primaryText());
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
