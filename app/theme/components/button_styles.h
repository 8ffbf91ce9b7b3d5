#pragma once
// The three button looks of the theme and the button that draws them. A pane picks a style per
// button: PrimaryButtonStyle for its main action, SecondaryButtonStyle for other actions,
// IconButtonStyle for square icon-only buttons.
#include <QColor>
#include <QFont>
#include <QPushButton>

#include <variant>

class QPainter;
class QVariantAnimation;

namespace kavrino {

struct PrimaryButtonStyle {
    QColor tint;
};
struct SecondaryButtonStyle {
    QColor tint;
};
struct IconButtonStyle {};

using ButtonStyle = std::variant<PrimaryButtonStyle, SecondaryButtonStyle, IconButtonStyle>;

// Everything a style decides, in points; read by StyledButton when it paints.
struct ButtonLook {
    QFont font;
    QColor labelColor;
    int horizontalPadding = 0;   // each side
    int verticalPadding = 0;     // top and bottom
    int fixedSide = 0;           // a square frame of this side when > 0 (icon buttons)
    double cornerRadius = 0;
    QColor fillTop;              // vertical gradient, top to bottom (equal for a flat fill)
    QColor fillBottom;
    QColor border;               // 1-point inner border
    bool shadow = false;         // a shadow of the tint at 0.4, blur radius 8, 3 points down
    QColor shadowColor;
    double pressedOpacity = 1;
    double pressedScale = 1;     // about the centre
    bool animated = false;       // press changes ease out over 0.12 s; otherwise instant
};

ButtonLook buttonLook(const ButtonStyle& style);

// The size a button of `look` takes for its label (`text`, with a symbol in front when `hasIcon`).
QSize buttonSize(const ButtonLook& look, const QString& text, bool hasIcon);

// Draws a button of `look` filling `bounds`: fill, border and label (symbol, then title),
// with the pressed look applied by `pressProgress` (0 released, 1 pressed). The shadow of the
// primary style is not drawn here. Used by StyledButton and by rows that paint their buttons.
void paintButton(QPainter& painter, const QRectF& bounds, const ButtonLook& look, const QString& text,
                 const QIcon& icon, double pressProgress, bool enabled, double devicePixelRatio);

class StyledButton final : public QPushButton {
    Q_OBJECT
public:
    StyledButton(const QString& text, const ButtonStyle& style, QWidget* parent = nullptr);
    // An icon-only button; `accessibleName` says what it does.
    StyledButton(const QIcon& icon, const QString& accessibleName, const ButtonStyle& style,
                 QWidget* parent = nullptr);

    void setButtonStyle(const ButtonStyle& style);
    const ButtonLook& look() const { return m_look; }

    // How far the pressed look is applied: 0 released, 1 fully pressed; in between while the
    // change animates.
    double pressProgress() const { return m_progress; }
    double currentOpacity() const;
    double currentScale() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void pressChanged(bool down);

    ButtonLook m_look;
    double m_progress = 0;
    QVariantAnimation* m_animation;
};

}  // namespace kavrino
