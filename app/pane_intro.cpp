#include "app/pane_intro.h"

#include "app/palette.h"
#include "app/typeface.h"

namespace kavrino {

PaneIntro::PaneIntro(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setFont(calloutFont());
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Palette::textSecondary());
    setPalette(colours);
}

}  // namespace kavrino
