#pragma once
// Slim scroll bars for the panes' scroll areas: a narrow translucent thumb with no arrows or
// track, like the platform's overlay scrollers, so a scrolling form keeps its width.
class QAbstractScrollArea;
class QScrollArea;
class QWidget;

namespace kavrino {

void useThinScrollBars(QAbstractScrollArea* area);

// A pane's vertical scroller: no frame, content as wide as the view, no horizontal scroll bar,
// thin scroll bars.
void preparePaneScrollArea(QScrollArea& area);
// Puts `content` in `area` with the pane's own background showing through both.
void setPaneScrollContent(QScrollArea& area, QWidget* content);

}  // namespace kavrino
