#include "app/theme/components/thin_scroll_bar.h"

#include <QAbstractScrollArea>
#include <QScrollArea>
#include <QScrollBar>

namespace kavrino {

void useThinScrollBars(QAbstractScrollArea* area) {
    static const QString style = QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 8px; margin: 2px 1px 2px 0; }"
        "QScrollBar:horizontal { background: transparent; height: 8px; margin: 0 2px 1px 2px; }"
        "QScrollBar::handle { background: rgba(255, 255, 255, 0.22); border-radius: 3px; }"
        "QScrollBar::handle:vertical { min-height: 24px; }"
        "QScrollBar::handle:horizontal { min-width: 24px; }"
        "QScrollBar::handle:hover { background: rgba(255, 255, 255, 0.34); }"
        "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; border: none; background: none; }"
        "QScrollBar::add-page, QScrollBar::sub-page { background: none; }");
    area->verticalScrollBar()->setStyleSheet(style);
    area->horizontalScrollBar()->setStyleSheet(style);
}

void preparePaneScrollArea(QScrollArea& area) {
    area.setFrameShape(QFrame::NoFrame);
    area.setWidgetResizable(true);
    area.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    useThinScrollBars(&area);
}

void setPaneScrollContent(QScrollArea& area, QWidget* content) {
    area.setWidget(content);
    content->setAutoFillBackground(false);  // setWidget turns it on
    area.viewport()->setAutoFillBackground(false);
}

}  // namespace kavrino
