#include "app/platform/qt_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

namespace kavrino {
namespace {

QWidget* dialogParent() { return QApplication::activeWindow(); }

QMessageBox::Icon iconFor(Alert::Style style) {
    switch (style) {
    case Alert::Style::warning: return QMessageBox::Warning;
    case Alert::Style::critical: return QMessageBox::Critical;
    case Alert::Style::informational: break;
    }
    return QMessageBox::Information;
}

// A window-modal progress dialog that appears only when the task runs longer than half a second.
class DialogProgress final : public Progress {
public:
    DialogProgress(const QString& label, int total)
        : m_dialog(label, QObject::tr("Cancel"), 0, total, dialogParent()) {
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(500);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
        m_dialog.setValue(0);
    }
    bool advance(int done) override {
        m_dialog.setValue(done);  // a modal progress dialog keeps the window painting meanwhile
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog m_dialog;
};

}  // namespace

std::unique_ptr<Progress> Dialogs::showProgress(const QString&, int) {
    struct Silent final : Progress {
        bool advance(int) override { return true; }
    };
    return std::make_unique<Silent>();
}

std::unique_ptr<Progress> QtDialogs::showProgress(const QString& label, int total) {
    return std::make_unique<DialogProgress>(label, total);
}

std::optional<QString> QtDialogs::chooseFileToOpen(const QString& title,
                                                   const QStringList& nameFilters) {
    const QString path = QFileDialog::getOpenFileName(dialogParent(), title, QDir::homePath(),
                                                      nameFilters.join(QStringLiteral(";;")));
    if (path.isEmpty()) return std::nullopt;
    return path;
}

std::optional<QString> QtDialogs::chooseFileToSave(const QString& title, const QString& defaultName,
                                                   const QStringList& nameFilters) {
    QFileDialog dialog(dialogParent(), title, QDir::home().filePath(defaultName),
                       nameFilters.join(QStringLiteral(";;")));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without an extension gets the proposed one, as the platform's save panel adds it.
    dialog.setDefaultSuffix(QFileInfo(defaultName).suffix());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString path = dialog.selectedFiles().constFirst();
    if (path.isEmpty()) return std::nullopt;
    return path;
}

QList<QPushButton*> prepareAlertBox(QMessageBox& box, const Alert& alert) {
    box.setIcon(iconFor(alert.style));
    // Plain text throughout, so assistive technology reads the words and no markup; the message
    // line stands out in bold above the explanation, as in the platform's alerts.
    box.setTextFormat(Qt::PlainText);
    box.setText(alert.messageText);
    box.setInformativeText(alert.informativeText);
    for (auto* label : box.findChildren<QLabel*>()) {
        label->setTextFormat(Qt::PlainText);
        if (label->objectName() == QLatin1String("qt_msgbox_label")) {
            QFont bold = label->font();
            bold.setBold(true);
            label->setFont(bold);
        }
    }
    box.setWindowTitle(alert.messageText);
    box.setAccessibleName(alert.messageText);
    box.setAccessibleDescription(alert.informativeText);
    const QStringList titles =
        alert.buttons.isEmpty() ? QStringList{QObject::tr("OK")} : alert.buttons;
    QList<QPushButton*> buttons;
    for (const QString& title : titles) {
        buttons << box.addButton(title, buttons.isEmpty() ? QMessageBox::AcceptRole
                                                          : QMessageBox::RejectRole);
    }
    box.setDefaultButton(buttons.first());
    return buttons;
}

int QtDialogs::runAlert(const Alert& alert) {
    QMessageBox box(dialogParent());
    const QList<QPushButton*> buttons = prepareAlertBox(box, alert);
    box.exec();
    const int chosen = int(buttons.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
    return chosen < 0 ? 0 : chosen;
}

}  // namespace kavrino
