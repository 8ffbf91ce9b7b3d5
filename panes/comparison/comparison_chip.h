#pragma once
// One load of the comparison as a chip: a dot in the load's series colour, the load's name with
// its muzzle velocity, and a small button that removes the load. The chips stand in for the
// chart's legend.
#include <QAbstractButton>
#include <QColor>
#include <QWidget>

class QLabel;

namespace kavrino {

// "<name> · <muzzle velocity truncated to whole ft/s> fps".
QString comparisonChipText(const QString& name, double muzzleVelocity);

// The chip's remove button: an "xmark" symbol, 9 points bold, in Palette::textSecondary().
class ChipRemoveButton final : public QAbstractButton {
    Q_OBJECT
public:
    explicit ChipRemoveButton(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class ComparisonChip final : public QWidget {
    Q_OBJECT
public:
    ComparisonChip(const QString& text, const QColor& colour, QWidget* parent = nullptr);

    QString text() const;
    QColor colour() const { return m_colour; }
    void setColour(const QColor& colour);
    ChipRemoveButton* removeButton() const { return m_remove; }

signals:
    void removeClicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
    QWidget* m_dot;
    QLabel* m_text;
    ChipRemoveButton* m_remove;
};

}  // namespace kavrino
