#include "app/panes/solve/dope_card_export.h"

#include "app/panes/solve/solve_summary.h"
#include "app/platform/dialogs.h"
#include "app/platform/file_saving.h"
#include "core/solve_model.h"

#include <QCoreApplication>
#include <QDir>

namespace kavrino {
namespace {

QString tr(const char* text) { return QCoreApplication::translate("SolveView", text); }

void tellNotSaved(Dialogs& dialogs, const QString& why) {
    Alert alert;
    alert.style = Alert::Style::warning;
    alert.messageText = tr("The DOPE card was not saved.");
    alert.informativeText = why;
    dialogs.runAlert(alert);
}

}  // namespace

QString dopeCardFileName() { return QStringLiteral("kavrino-dope-card.pdf"); }

DopeExportOutcome exportDopeCard(SolveModel& model, Dialogs& dialogs, const DopeCardRenderer& render) {
    if (model.trajectory().empty()) model.solve();
    const DopeCardPDF::Meta meta = dopeCardMeta(model);
    // Drawn before the user is asked where to save, so a cancelled export has still drawn once.
    const QByteArray card = render(meta, model.trajectory());
    // An empty document is no card: say so at once rather than ask where to put nothing.
    if (card.isEmpty()) {
        tellNotSaved(dialogs, tr("The card could not be drawn, so there was nothing to write."));
        return DopeExportOutcome::notSaved;
    }

    const std::optional<QString> path = dialogs.chooseFileToSave(
        tr("Export DOPE Card"), dopeCardFileName(), {tr("PDF document (*.pdf)")});
    if (!path || path->isEmpty()) return DopeExportOutcome::cancelled;

    if (const std::optional<SaveFailure> failure = saveFileReplacing(*path, card)) {
        tellNotSaved(dialogs, tr("It could not be written to \u201c%1\u201d: %2.")
                                  .arg(QDir::toNativeSeparators(*path), failure->reason));
        return DopeExportOutcome::notSaved;
    }
    return DopeExportOutcome::saved;
}

}  // namespace kavrino
