#include "app/theme/components/pane_intro.h"

#include "app/theme/components/plain_label.h"
#include "app/theme/palette.h"
#include "app/theme/typeface.h"

namespace kavrino {

PaneIntro::PaneIntro(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setFont(calloutFont());
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setTextColour(*this, Palette::textSecondary());
}

}  // namespace kavrino
