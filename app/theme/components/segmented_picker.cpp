#include "app/theme/components/segmented_picker.h"

#include "app/theme/palette.h"
#include "app/theme/rounded_shape.h"
#include "app/theme/typeface.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace kavrino {
namespace {

constexpr int kHeight = 22;
constexpr int kSegmentPadding = 14;  // each side of a segment's text
constexpr double kCornerRadius = 6;

// One segment for assistive technology: a radio button named by its text, checked when lit,
// pressed like a click on it.
class SegmentAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    SegmentAccessible(SegmentedPicker* picker, int index) : m_picker(picker), m_index(index) {}

    bool isValid() const override { return m_picker != nullptr && m_index < m_picker->count(); }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_picker);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? m_picker->segmentText(m_index) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const QRect local = m_picker->segmentRect(m_index);
        return QRect(m_picker->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::RadioButton; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.checkable = true;
        s.checked = m_picker->selectedIndex() == m_index;
        s.invisible = !m_picker->isVisible();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction()) emit m_picker->segmentClicked(m_index);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    SegmentedPicker* m_picker;
    int m_index;
};

// The picker for assistive technology: a group of its segments whose value is the lit one.
class SegmentedPickerAccessible final : public QAccessibleWidget {
public:
    explicit SegmentedPickerAccessible(SegmentedPicker* picker)
        : QAccessibleWidget(picker, QAccessible::Grouping) {
        for (int i = 0; i < picker->count(); ++i) {
            m_segments << QAccessible::registerAccessibleInterface(new SegmentAccessible(picker, i));
        }
    }
    ~SegmentedPickerAccessible() override {
        for (QAccessible::Id id : m_segments) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return int(m_segments.size()); }
    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < childCount() ? QAccessible::accessibleInterface(m_segments[index])
                                                  : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < childCount(); ++i) {
            if (QAccessible::accessibleInterface(m_segments[i]) == child) return i;
        }
        return -1;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) {
            const auto* picker = static_cast<const SegmentedPicker*>(widget());
            return picker->segmentText(picker->selectedIndex());
        }
        return QAccessibleWidget::text(t);
    }

private:
    QList<QAccessible::Id> m_segments;
};

QAccessibleInterface* segmentedPickerAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("kavrino::SegmentedPicker") && object != nullptr &&
        object->isWidgetType()) {
        return new SegmentedPickerAccessible(static_cast<SegmentedPicker*>(object));
    }
    return nullptr;
}

}  // namespace

SegmentedPicker::SegmentedPicker(const QStringList& segments, QWidget* parent)
    : QWidget(parent), m_segments(segments) {
    setFont(uiFont(12, QFont::Medium));
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(segmentedPickerAccessible);
        return true;
    }();
    (void)factoryInstalled;
}

void SegmentedPicker::setSelectedIndex(int index) {
    if (index < -1 || index >= count()) index = -1;
    if (index == m_selected) return;
    m_selected = index;
    update();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent changed(this, segmentText(index));
        QAccessible::updateAccessibility(&changed);
    }
}

void SegmentedPicker::setSegmentText(int index, const QString& text) {
    if (index < 0 || index >= count() || m_segments[index] == text) return;
    m_segments[index] = text;
    updateGeometry();
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
