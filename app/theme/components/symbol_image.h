#pragma once
// A symbol of the bundled set shown on its own, `side` points square in one colour, drawn for
// the screen it is on (sharp at any device pixel ratio). Decorative: it takes no focus and
// lets clicks through; give it an accessible name only where the symbol itself carries meaning.
#include <QColor>
#include <QIcon>
#include <QWidget>

namespace kavrino {

class SymbolImage final : public QWidget {
    Q_OBJECT
public:
    SymbolImage(const QString& name, int side, const QColor& colour, QWidget* parent = nullptr);

    QString name() const { return m_name; }
    QColor colour() const { return m_colour; }

    QSize sizeHint() const override { return {m_side, m_side}; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_name;
    QIcon m_icon;
    int m_side;
    QColor m_colour;
};

}  // namespace kavrino
