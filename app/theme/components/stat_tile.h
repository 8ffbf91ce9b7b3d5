#pragma once
// A labelled figure on a card: the label in small capitals above the value (22 points bold, in
// the caller's accent colour, digits of equal width). Tiles in a row share its width; a tile
// squeezed below its texts' width wraps them onto further lines, at word boundaries and inside
// a word only where the word alone is too wide, and grows taller for them, so a narrow row
// never pushes its tiles off the pane and no text is cut.
#include <QColor>
#include <QWidget>

class QLabel;

namespace kavrino {

class StatTile final : public QWidget {
    Q_OBJECT
public:
    // `value` is shown as given: the caller formats it.
    StatTile(const QString& label, const QString& value, const QColor& accent,
             QWidget* parent = nullptr);

    void setValue(const QString& value);
    void setAccent(const QColor& accent);
    QString label() const { return m_label; }
    QString value() const { return m_value; }
    QColor accent() const { return m_accent; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitTexts();

    QString m_label;
    QString m_value;
    QColor m_accent;
    QLabel* m_labelText;
    QLabel* m_valueText;
};

}  // namespace kavrino
