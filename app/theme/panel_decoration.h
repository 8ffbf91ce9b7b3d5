#pragma once
// The one way content is set on a card: padded on all four edges, on a continuous rounded
// rectangle filled with Palette::panel(), with a 1-point Palette::stroke() border drawn inside
// the outline and over the content's edge. Only padding and radius vary between cards.
#include <QWidget>

namespace kavrino {

class PanelCard final : public QWidget {
    Q_OBJECT
public:
    // Takes ownership of `content` and lays it out inside `padding` points on every edge.
    PanelCard(QWidget* content, int padding, int cornerRadius, QWidget* parent = nullptr);

    QWidget* content() const { return m_content; }
    int padding() const { return m_padding; }
    int cornerRadius() const { return m_cornerRadius; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    QWidget* m_content;
    QWidget* m_border = nullptr;  // drawn above the content, transparent to the mouse
    int m_padding;
    int m_cornerRadius;
};

// panelDecoration(content, padding, cornerRadius): `content` set on a new card. Every pane
// passes both values (radius 14 throughout).
PanelCard* panelDecoration(QWidget* content, int padding, int cornerRadius);

}  // namespace kavrino
