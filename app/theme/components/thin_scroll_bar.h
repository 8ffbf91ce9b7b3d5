#pragma once
// Slim scroll bars for the panes' scroll areas: a narrow translucent thumb with no arrows or
// track, like the platform's overlay scrollers, so a scrolling form keeps its width.
class QAbstractScrollArea;

namespace kavrino {

void useThinScrollBars(QAbstractScrollArea* area);

}  // namespace kavrino
