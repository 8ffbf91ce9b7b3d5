#pragma once
// The one way panes make a text label: plain text (a name with "<" or "&" is shown as typed,
// and assistive technology reads it as typed), a font and a text colour.
class QColor;
class QFont;
class QLabel;
class QString;
class QWidget;

namespace kavrino {

// A label showing `text` as plain text in `font` and `colour`.
QLabel* plainLabel(const QString& text, const QFont& font, const QColor& colour, QWidget* parent = nullptr);

// Sets the colour `widget` draws its text in (its palette's window text).
void setTextColour(QWidget& widget, const QColor& colour);

}  // namespace kavrino
