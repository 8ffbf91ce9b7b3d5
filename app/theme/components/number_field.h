#pragma once
// The text field of a number row: shows its value in the user's number format (QLocale(): its
// grouping and decimal marks), reads typed text back the same way, and commits on Return and
// when the focus leaves. Only Return submits, so only Return starts a solve.
#include <QLineEdit>

#include <optional>

namespace kavrino {

class NumberField final : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberField(QWidget* parent = nullptr);

    double value() const { return m_value; }
    // Shows `value`, unless the user is in the middle of typing in this field.
    void setValue(double value);

    // Magnitudes shown in plain digits; others in the exponent form ("1E+12").
    static constexpr double kLargestPlain = 1e9;
    static constexpr double kSmallestPlain = 1e-4;

    // `value` as the field shows it: the locale's marks, the shortest digits that read back
    // as the same number; the exponent form outside the plain range.
    static QString format(double value);
    // Typed text as a finite number in the user's locale; nothing when the text is not one
    // (including "inf", "nan" and numbers beyond the range of a double). A group mark counts
    // only where the locale prints one in that number: German "1.215" is 1215, but "0.462" and
    // an English "0,462" are a decimal mark from the other convention, and are not read. Where
    // the locale's mark is a space, any of the plain, no-break and narrow no-break spaces stands
    // for it; where it is an apostrophe, either apostrophe does.
    static std::optional<double> parse(const QString& text);

    // Commits text typed since the last commit, as focus loss does.
    void commitPending();

signals:
    // A typed number was taken (Return or focus loss); not emitted for text that is not a
    // number, which is replaced by the last value.
    void valueCommitted(double value);
    // Return was pressed, after the typed value was committed.
    void submitted();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void commit();

    double m_value = 0;
};

}  // namespace kavrino
