#include "app/segmented_picker.h"

#include "app/palette.h"
#include "app/rounded_shape.h"
#include "app/typeface.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace kavrino {
namespace {

constexpr int kHeight = 22;
constexpr int kSegmentPadding = 14;  // each side of a segment's text
constexpr double kCornerRadius = 6;

}  // namespace

SegmentedPicker::SegmentedPicker(const QStringList& segments, QWidget* parent)
    : QWidget(parent), m_segments(segments) {
    setFont(uiFont(12, QFont::Medium));
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
}

void SegmentedPicker::setSelectedIndex(int index) {
    if (index < -1 || index >= count()) index = -1;
    if (index == m_selected) return;
    m_selected = index;
    update();
}

QSize SegmentedPicker::sizeHint() const {
    int widest = 0;
    for (const QString& text : m_segments) widest = std::max(widest, fontMetrics().horizontalAdvance(text));
    return {std::max(1, count()) * (widest + 2 * kSegmentPadding), kHeight};
}

QRect SegmentedPicker::segmentRect(int index) const {
    if (index < 0 || index >= count()) return {};
    const int left = width() * index / count();
    const int right = width() * (index + 1) / count();
    return {left, 0, right - left, height()};
}

void SegmentedPicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    paintCard(painter, bounds, kCornerRadius, Palette::raised(), Palette::stroke());
    for (int i = 0; i < count(); ++i) {
        const QRectF segment(segmentRect(i));
        if (i == m_selected) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor::fromRgbF(1, 1, 1, 0.18f));
            painter.drawPath(continuousRoundedRect(segment.adjusted(2, 2, -2, -2), kCornerRadius - 2));
        } else if (i > 0 && i - 1 != m_selected) {
            painter.setPen(QPen(Palette::stroke(), 1));
            painter.drawLine(QPointF(segment.left(), 5), QPointF(segment.left(), height() - 5));
        }
        painter.setPen(i == m_selected ? Palette::textPrimary() : Palette::textSecondary());
        painter.drawText(segment, Qt::AlignCenter, m_segments[i]);
    }
    if (hasFocus()) {
        painter.setPen(QPen(withOpacity(Palette::accent(), 0.8), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(continuousRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), kCornerRadius));
    }
}

void SegmentedPicker::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    for (int i = 0; i < count(); ++i) {
        if (segmentRect(i).contains(event->position().toPoint())) {
            emit segmentClicked(i);
            return;
        }
    }
}

void SegmentedPicker::keyPressEvent(QKeyEvent* event) {
    // Arrows step to the neighbouring segment, as a click on it would.
    const int from = m_selected < 0 ? 0 : m_selected;
    if (event->key() == Qt::Key_Left && from > 0) {
        emit segmentClicked(from - 1);
    } else if (event->key() == Qt::Key_Right && from + 1 < count()) {
        emit segmentClicked(from + 1);
    } else {
        QWidget::keyPressEvent(event);
    }
}

}  // namespace kavrino
