#pragma once
// Open and save panels and modal alerts behind one interface. Panes and the install check ask
// through it; the application hands in QtDialogs, tests a fake that answers at once.
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace kavrino {

// The progress of a long task the user waits for: shown once the task takes long, with a
// Cancel button. Gone when the object is destroyed.
class Progress {
public:
    virtual ~Progress() = default;
    // `done` of the total has been reached; false once the user has cancelled.
    virtual bool advance(int done) = 0;
};

// A modal alert with its buttons; the first button is the default one.
struct Alert {
    enum class Style { informational, warning, critical };
    Style style = Style::informational;
    QString messageText;      // the bold first line
    QString informativeText;  // the explanation below it
    QStringList buttons;      // in order; empty means one "OK" button

    bool operator==(const Alert&) const = default;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The file the user picked to open, or nothing when cancelled. `nameFilters` as Qt writes
    // them, e.g. "CSV files (*.csv)"; the first is preselected.
    virtual std::optional<QString> chooseFileToOpen(const QString& title,
                                                    const QStringList& nameFilters) = 0;

    // Where the user chose to save, or nothing when cancelled; `defaultName` is proposed.
    virtual std::optional<QString> chooseFileToSave(const QString& title, const QString& defaultName,
                                                    const QStringList& nameFilters) = 0;

    // Shows `alert` and waits; returns the index of the button chosen (0 when the alert was
    // dismissed without a choice).
    virtual int runAlert(const Alert& alert) = 0;

    // Progress of a task of `total` steps; by default nothing is shown and nothing cancels.
    virtual std::unique_ptr<Progress> showProgress(const QString& label, int total);
};

}  // namespace kavrino
