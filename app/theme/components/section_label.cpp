#include "app/theme/components/section_label.h"

#include "app/theme/components/plain_label.h"
#include "app/theme/palette.h"
#include "app/theme/typeface.h"

namespace kavrino {

SectionLabel::SectionLabel(const QString& text, QWidget* parent) : QLabel(parent) {
    setFont(uiFont(10.5, QFont::DemiBold, 1.2));
    setTextFormat(Qt::PlainText);
    setTextColour(*this, Palette::textTertiary());
    setLabelText(text);
}

void SectionLabel::setLabelText(const QString& text) { setText(text.toUpper()); }

}  // namespace kavrino
