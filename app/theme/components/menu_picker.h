#pragma once
// A pop-up picker that changes only by a row picked from its open list, as a pop-up menu button
// does: a closed QComboBox also steps through its rows on the wheel, on the arrow keys and on a
// typed letter, and reports each step as `activated`. Here the wheel passes over the closed
// picker to whatever scrolls beneath it, the arrow keys open the list, and a typed letter opens
// it with the first matching row highlighted, so `activated` comes only from a click on a row or
// Return or Space on the highlighted row of the open list.
#include <QComboBox>

namespace kavrino {

class MenuPicker final : public QComboBox {
    Q_OBJECT
public:
    explicit MenuPicker(QWidget* parent = nullptr);

    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // Opens the list with the first row whose text starts with `typed` highlighted.
    void openAt(const QString& typed);
};

}  // namespace kavrino
