#include "panes/comparison/chip_row_layout.h"

#include <QWidget>

#include <algorithm>

namespace kavrino {
namespace {

constexpr int kSpacing = 10;  // between chips, and between lines of chips

}  // namespace

ChipRowLayout::ChipRowLayout(QWidget* parent) : QLayout(parent) {
    setContentsMargins(0, 0, 0, 0);
    setSpacing(kSpacing);
}

ChipRowLayout::~ChipRowLayout() {
    while (QLayoutItem* item = takeAt(0)) delete item;
}

void ChipRowLayout::addItem(QLayoutItem* item) { m_items.append(item); }

QLayoutItem* ChipRowLayout::takeAt(int index) {
    if (index < 0 || index >= m_items.size()) return nullptr;
    return m_items.takeAt(index);
}

QSize ChipRowLayout::sizeHint() const {
    // All chips on one line.
    int width = 0;
    int height = 0;
    for (const QLayoutItem* item : m_items) {
        if (item->isEmpty()) continue;
        const QSize hint = item->sizeHint();
        width += (width > 0 ? kSpacing : 0) + hint.width();
        height = std::max(height, hint.height());
    }
    return {width, height};
}

QSize ChipRowLayout::minimumSize() const {
    // As narrow as the widest chip; the lines then stack.
    QSize size;
    for (const QLayoutItem* item : m_items) {
        if (!item->isEmpty()) size = size.expandedTo(item->sizeHint());
    }
    return size;
}

void ChipRowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int ChipRowLayout::arrange(const QRect& rect, bool apply) const {
    int x = rect.x();
    int y = rect.y();
    int lineHeight = 0;
    bool lineStarted = false;
    for (QLayoutItem* item : m_items) {
        if (item->isEmpty()) continue;
        const QSize hint = item->sizeHint();
        if (lineStarted && x + hint.width() > rect.right() + 1) {
            x = rect.x();
            y += lineHeight + kSpacing;
            lineHeight = 0;
        }
        if (apply) item->setGeometry(QRect(QPoint(x, y), hint));
        x += hint.width() + kSpacing;
        lineHeight = std::max(lineHeight, hint.height());
        lineStarted = true;
    }
    return y + lineHeight - rect.y();
}

}  // namespace kavrino
