#pragma once
// Dialogs shown with QFileDialog and QMessageBox, parented to the active window.
#include "app/platform/dialogs.h"

#include <QList>

class QMessageBox;
class QPushButton;

namespace kavrino {

// Fills `box` with the alert's style, texts and buttons (the first is the default) and returns
// the buttons in the alert's order.
QList<QPushButton*> prepareAlertBox(QMessageBox& box, const Alert& alert);

class QtDialogs final : public Dialogs {
public:
    std::optional<QString> chooseFileToOpen(const QString& title,
                                            const QStringList& nameFilters) override;
    std::optional<QString> chooseFileToSave(const QString& title, const QString& defaultName,
                                            const QStringList& nameFilters) override;
    int runAlert(const Alert& alert) override;
    std::unique_ptr<Progress> showProgress(const QString& label, int total) override;
};

}  // namespace kavrino
