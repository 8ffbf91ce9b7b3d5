#include "app/theme/components/number_field.h"

#include <QLocale>

#include <cmath>

namespace kavrino {

NumberField::NumberField(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setFixedWidth(84);
    setText(format(m_value));
    connect(this, &QLineEdit::returnPressed, this, [this] {
        commit();
        emit submitted();
    });
    // Covers commits the platform makes without Return; repeated commits of one value are quiet.
    connect(this, &QLineEdit::editingFinished, this, &NumberField::commit);
}

QString NumberField::format(double value) {
    if (!std::isfinite(value)) return QLocale().toString(value);
    // Plain digits for every value a form is made for; a number too large or too small for
    // that (a typed 1e308 would be 411 characters) in the locale's exponent form, which reads
    // back to the same number.
    const double magnitude = std::abs(value);
    const bool compact = magnitude >= kLargestPlain || (magnitude != 0 && magnitude < kSmallestPlain);
    return QLocale().toString(value, compact ? 'e' : 'f', QLocale::FloatingPointShortest);
}

std::optional<double> NumberField::parse(const QString& text) {
    bool ok = false;
    const double value = QLocale().toDouble(text.trimmed(), &ok);
    // "inf" and "nan" are no measurement: they are refused like any other unreadable text.
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

void NumberField::setValue(double value) {
    const bool typing = hasFocus() && isModified();
    const bool same = value == m_value || (std::isnan(value) && std::isnan(m_value));
    m_value = value;
    if (typing && same) return;
    const QString shown = format(value);
    if (text() != shown) setText(shown);
}

void NumberField::commit() {
    const std::optional<double> typed = parse(text());
    if (!typed) {
        setText(format(m_value));  // not a number: the field shows the value it still holds
        return;
    }
    const bool changed = *typed != m_value;
    m_value = *typed;
    setText(format(m_value));
    if (changed) emit valueCommitted(m_value);
}

void NumberField::commitPending() {
    if (isModified()) commit();
}

void NumberField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);  // emits editingFinished when the text was edited
    commitPending();
}

}  // namespace kavrino
