#pragma once
// A small upper-case heading: 10.5 points semibold, tracking 1.2, Palette::textTertiary().
#include <QLabel>

namespace kavrino {

class SectionLabel final : public QLabel {
    Q_OBJECT
public:
    explicit SectionLabel(const QString& text, QWidget* parent = nullptr);
    // Shows `text` in capitals.
    void setLabelText(const QString& text);
};

}  // namespace kavrino
