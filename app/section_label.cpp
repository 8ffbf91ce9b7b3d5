#include "app/section_label.h"

#include "app/palette.h"
#include "app/typeface.h"

namespace kavrino {

SectionLabel::SectionLabel(const QString& text, QWidget* parent) : QLabel(parent) {
    setFont(uiFont(10.5, QFont::DemiBold, 1.2));
    setTextFormat(Qt::PlainText);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Palette::textTertiary());
    setPalette(colours);
    setLabelText(text);
}

void SectionLabel::setLabelText(const QString& text) { setText(text.toUpper()); }

}  // namespace kavrino
