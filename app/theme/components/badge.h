#pragma once
// A short coloured tag: the text as given (callers pass upper-case words), 10 points semibold,
// tracking 0.4, in `color`, on a capsule of `color` at opacity 0.16.
#include <QColor>
#include <QWidget>

namespace kavrino {

class Badge final : public QWidget {
    Q_OBJECT
public:
    Badge(const QString& text, const QColor& color, QWidget* parent = nullptr);

    void setText(const QString& text);
    void setColor(const QColor& color);
    QString text() const { return m_text; }
    QColor color() const { return m_color; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QColor m_color;
    QFont m_font;
};

}  // namespace kavrino
