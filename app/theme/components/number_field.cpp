#include "app/theme/components/number_field.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kavrino {
namespace {

// The sizes of the digit groups, from the left, in which `locale` prints a whole number of
// `digits` digits: read off its own rendering of 10^(digits-1), so its group sizes, the
// separate size of the last group (Indian grouping) and the least number of digits it groups
// (Spanish leaves "1000" whole) all hold. Past 19 digits, beyond 64 bits, the groups further
// left keep the size of those before them.
QList<int> groupSizes(const QLocale& locale, QChar mark, int digits) {
    constexpr int kWidest = 19;
    qulonglong power = 1;
    for (int i = 1; i < std::min(digits, kWidest); ++i) power *= 10;
    QList<int> sizes;
    for (const QString& group : locale.toString(power).split(mark)) sizes.append(int(group.size()));
    if (digits <= kWidest || sizes.size() == 1) {
        if (sizes.size() == 1) sizes.front() = digits;
        return sizes;
    }
    const int repeated = sizes.size() > 2 ? sizes[1] : sizes.back();
    int leftmost = sizes.front() + (digits - kWidest);
    sizes.removeFirst();
    for (; leftmost > repeated; leftmost -= repeated) sizes.prepend(repeated);
    sizes.prepend(leftmost);
    return sizes;
}

// The family of marks a keyboard or a paste gives for a group mark that looks like `c`: the
// spaces (plain, no-break, narrow no-break) or the apostrophes (typewriter, typographic).
enum class MarkFamily { none, space, apostrophe };

MarkFamily markFamily(QChar c) {
    switch (c.unicode()) {
    case u' ':
    case u'\u00a0':
    case u'\u202f':
        return MarkFamily::space;
    case u'\'':
    case u'\u2019':
        return MarkFamily::apostrophe;
    default:
        return MarkFamily::none;
    }
}

// `text` with every mark of the locale's group-mark family written as the locale's own mark: a
// French keyboard types a plain or a no-break space where fr_FR prints a narrow no-break space,
// a Swiss one the typewriter apostrophe where de_CH prints the typographic one.
QString withLocaleGroupMarks(QString text, const QLocale& locale) {
    const QString separator = locale.groupSeparator();
    if (separator.size() != 1) return text;
    const QChar mark = separator.front();
    const MarkFamily family = markFamily(mark);
    if (family == MarkFamily::none) return text;
    for (QChar& c : text) {
        if (markFamily(c) == family) c = mark;
    }
    return text;
}

// Whether the group marks in `text`, one that `locale` reads, stand where the locale itself
// prints them in that number: only in the whole part, with no leading zero, in its groups, and
// never in the exponent form. Text without a group mark is always so.
bool groupedAsPrinted(const QString& text, const QLocale& locale) {
    const QString separator = locale.groupSeparator();
    if (separator.size() != 1) return separator.isEmpty() || !text.contains(separator);
    const QChar mark = separator.front();
    const auto isMark = [mark](QChar c) { return c == mark; };

    qsizetype at = 0;
    for (; at < text.size() && !text[at].isDigit(); ++at) {  // the sign
        if (isMark(text[at])) return false;
    }
    const qsizetype wholeStart = at;
    QList<int> groups{0};
    for (; at < text.size() && (text[at].isDigit() || isMark(text[at])); ++at) {
        if (isMark(text[at])) {
            groups.append(0);
        } else {
            ++groups.back();
        }
    }
    if (groups.size() == 1) return !std::any_of(text.begin() + at, text.end(), isMark);

    // Grouped: a whole part as the locale prints it, then at most a decimal mark and digits.
    if (text[wholeStart].digitValue() == 0) return false;
    const QStringView rest = QStringView(text).mid(at);
    const QString decimal = locale.decimalPoint();
    if (!rest.isEmpty()) {
        if (!rest.startsWith(decimal)) return false;
        const QStringView fraction = rest.mid(decimal.size());
        if (!std::all_of(fraction.begin(), fraction.end(), [](QChar c) { return c.isDigit(); })) {
            return false;
        }
    }
    return groups == groupSizes(locale, mark, int(std::accumulate(groups.begin(), groups.end(), 0)));
}

}  // namespace

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
    const QLocale locale;
    const QString trimmed = withLocaleGroupMarks(text.trimmed(), locale);
    bool ok = false;
    const double value = locale.toDouble(trimmed, &ok);
    // "inf" and "nan" are no measurement: they are refused like any other unreadable text.
    if (!ok || !std::isfinite(value)) return std::nullopt;
    // QLocale reads a group mark wherever a digit group could stand, so a German "0.462" would
    // be 462 and an English "0,462" too: the other locale's decimal mark, typed by habit.
    if (!groupedAsPrinted(trimmed, locale)) return std::nullopt;
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
