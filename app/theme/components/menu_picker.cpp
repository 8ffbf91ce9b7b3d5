#include "app/theme/components/menu_picker.h"

#include <QAbstractItemView>
#include <QApplication>
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

QString MenuPicker::typedInto(const QEvent& event) {
    QString text;
    if (event.type() == QEvent::KeyPress) {
        text = static_cast<const QKeyEvent&>(event).text();
    } else if (event.type() == QEvent::InputMethod) {
        text = static_cast<const QInputMethodEvent&>(event).commitString();
    }
    return isTypedText(text) ? text : QString();
}

bool MenuPicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched != view()) return QComboBox::eventFilter(watched, event);
    const QString typed = typedInto(*event);
    if (typed.isEmpty()) return QComboBox::eventFilter(watched, event);
    // Space on the highlighted row picks it, as Return does, unless it is part of a name being
    // typed ("6.5 P").
    if (typed == QLatin1String(" ") && !searching()) {
        if (view()->currentIndex().isValid()) {
            QKeyEvent pick(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QCoreApplication::sendEvent(view(), &pick);
        }
        return true;
    }
    search(typed);
    return true;
}

void MenuPicker::hidePopup() {
    QComboBox::hidePopup();
    // What was typed into the list ends with it: a letter typed later starts a new search.
    m_search.clear();
    m_sinceTyped.invalidate();
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
    m_search.clear();
    search(typed);
}

bool MenuPicker::searching() const {
    return m_sinceTyped.isValid() && m_sinceTyped.elapsed() <= QApplication::keyboardInputInterval();
}

void MenuPicker::search(const QString& typed) {
    if (!searching()) m_search.clear();
    m_search += typed;
    m_sinceTyped.start();
    QAbstractItemModel& rows = *model();
    const QModelIndex top = rows.index(0, modelColumn(), rootModelIndex());
    // Case aside, as the platform's type-ahead matches.
    for (const QModelIndex& row : rows.match(top, Qt::DisplayRole, m_search, -1, Qt::MatchStartsWith)) {
        if (row.flags().testFlag(Qt::ItemIsEnabled)) {
            view()->setCurrentIndex(row);
            return;
        }
    }
}

}  // namespace kavrino
