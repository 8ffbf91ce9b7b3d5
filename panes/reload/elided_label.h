#pragma once
// A one-line value: the whole text when it fits, else its start with an ellipsis. The label
// keeps the whole text (assistive technology and the tool tip read it) and asks for no more
// width than a few characters, so a long value never widens its row.
#include <QLabel>

namespace kavrino {

class ElidedLabel final : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void setFullText(const QString& text);
    // What is drawn at the current width.
    QString shownText() const;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateToolTip();
};

}  // namespace kavrino
