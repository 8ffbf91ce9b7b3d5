#include "panes/comparison/comparison_export.h"

#include "app/platform/dialogs.h"
#include "app/platform/file_saving.h"
#include "panes/comparison/comparison_model.h"

#include <QCoreApplication>
#include <QDir>

#include <optional>

namespace kavrino {
namespace {

QString tr(const char* text) { return QCoreApplication::translate("ComparisonView", text); }

}  // namespace

QString comparisonFileName() { return QStringLiteral("kavrino-comparison.csv"); }

ComparisonExportOutcome exportComparisonCSV(const ComparisonModel& model, Dialogs& dialogs) {
    const std::optional<QString> path = dialogs.chooseFileToSave(
        tr("Export CSV"), comparisonFileName(), {tr("Comma-separated values (*.csv)")});
    if (!path || path->isEmpty()) return ComparisonExportOutcome::cancelled;

    // Exactly the model's text: UTF-8, no byte-order mark, no line end added.
    if (const std::optional<SaveFailure> failure = saveFileReplacing(*path, model.comparisonCSV().toUtf8())) {
        Alert alert;
        alert.style = Alert::Style::warning;
        alert.messageText = tr("The comparison was not saved.");
        alert.informativeText = tr("It could not be written to \u201c%1\u201d: %2.")
                                    .arg(QDir::toNativeSeparators(*path), failure->reason);
        dialogs.runAlert(alert);
        return ComparisonExportOutcome::notSaved;
    }
    return ComparisonExportOutcome::saved;
}

}  // namespace kavrino
