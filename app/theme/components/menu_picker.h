#pragma once
// A pop-up picker that changes only by a row picked from its open list, as a pop-up menu button
// does: a closed QComboBox also steps through its rows on the wheel, on the arrow keys and on a
// typed letter, and reports each step as `activated`. Here the wheel passes over the closed
// picker to whatever scrolls beneath it, the arrow keys open the list, and a typed letter opens
// it with the first matching row, counted from the top, highlighted. Letters typed into the
// open list refine that search, a space among them included, so `activated` comes only from a
// click on a row, Return, or Space on the highlighted row while no search is being typed.
#include <QComboBox>
#include <QElapsedTimer>

namespace kavrino {

class MenuPicker final : public QComboBox {
    Q_OBJECT
public:
    explicit MenuPicker(QWidget* parent = nullptr);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void hidePopup() override;

protected:
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // Opens the list with the first row whose text starts with `typed` highlighted.
    void openAt(const QString& typed);
    // Adds `typed` to the search under way, or starts a new one, and highlights the first row
    // from the top whose text starts with the search; a search that matches no row leaves the
    // highlight where it is.
    void search(const QString& typed);
    // Whether a search is being typed: its last key came within the platform's keyboard input
    // interval.
    bool searching() const;
    // Text typed into the open list (a key press or an input method's commit), or nothing.
    static QString typedInto(const QEvent& event);

    QString m_search;
    QElapsedTimer m_sinceTyped;
};

}  // namespace kavrino
