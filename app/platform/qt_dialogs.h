#pragma once
// Dialogs shown with QFileDialog and QMessageBox, parented to the active window.
#include "app/platform/dialogs.h"

namespace kavrino {

class QtDialogs final : public Dialogs {
public:
    std::optional<QString> chooseFileToOpen(const QString& title,
                                            const QStringList& nameFilters) override;
    std::optional<QString> chooseFileToSave(const QString& title, const QString& defaultName,
                                            const QStringList& nameFilters) override;
    int runAlert(const Alert& alert) override;
};

}  // namespace kavrino
