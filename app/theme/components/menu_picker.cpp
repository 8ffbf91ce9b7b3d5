#include "app/theme/components/menu_picker.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWheelEvent>

namespace kavrino {
namespace {

// Only text a person can read starts a search; control characters (Backspace, Escape, a
// letter with Ctrl) are left to shortcuts and the widgets around.
bool isTypedText(const QString& text) { return !text.isEmpty() && text.front().isPrint(); }

}  // namespace

MenuPicker::MenuPicker(QWidget* parent) : QComboBox(parent) {
    // Installed after the list's own handling, so it runs first.
    view()->installEventFilter(this);
}

bool MenuPicker::eventFilter(QObject* watched, QEvent* event) {
    // Space on the highlighted row of the open list picks it, as Return does.
    if (watched == view() && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space && view()->currentIndex().isValid()) {
        QKeyEvent pick(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(view(), &pick);
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

void MenuPicker::wheelEvent(QWheelEvent* event) {
    event->ignore();  // the scroll area beneath scrolls
}

void MenuPicker::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_F4:
    case Qt::Key_Space:
    case Qt::Key_Select:
        showPopup();
        return;
    default:
        break;
    }
    if (isTypedText(event->text())) {
        openAt(event->text());
        return;
    }
    event->ignore();  // Return, Escape and the rest belong to the window
}

void MenuPicker::inputMethodEvent(QInputMethodEvent* event) {
    if (isTypedText(event->commitString())) {
        openAt(event->commitString());
        return;
    }
    event->ignore();
}

void MenuPicker::openAt(const QString& typed) {
    showPopup();
    view()->keyboardSearch(typed);
}

}  // namespace kavrino
