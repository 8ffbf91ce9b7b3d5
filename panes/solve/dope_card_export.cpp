#include "panes/solve/dope_card_export.h"

#include "app/platform/dialogs.h"
#include "app/platform/file_saving.h"
#include "core/solve_model.h"
#include "panes/solve/solve_summary.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>  // std::min
#include <climits>    // INT_MAX
#include <vector>

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

DopeCardRenderer defaultDopeCardRenderer() {
    return [](const DopeCardPDF::Meta& meta, std::span<const TrajectoryPoint> points,
              const DopeCardPDF::RenderProgress& progress) {
        return DopeCardPDF::render(meta, points, progress);
    };
}

DopeExportOutcome exportDopeCard(SolveModel& model, Dialogs& dialogs, const DopeCardRenderer& render) {
    if (model.trajectory().empty()) model.solve();
    const DopeCardPDF::Meta meta = dopeCardMeta(model);
    // The rows as they are now: the window keeps painting while a long card is drawn.
    const std::vector<TrajectoryPoint> rows = model.trajectory();

    // Asked first: a card of thousands of pages takes seconds to draw, and nobody should wait
    // for one before choosing where it goes (or deciding not to export after all).
    const std::optional<QString> path = dialogs.chooseFileToSave(
        tr("Export DOPE Card"), dopeCardFileName(), {tr("PDF document (*.pdf)")});
    if (!path || path->isEmpty()) return DopeExportOutcome::cancelled;

    bool cancelled = false;
    std::unique_ptr<Progress> progress =
        dialogs.showProgress(tr("Drawing the DOPE card\u2026"), int(std::min<size_t>(rows.size(), INT_MAX)));
    const QByteArray card = render(meta, rows, [&](size_t rowsDrawn) {
        cancelled = !progress->advance(int(std::min<size_t>(rowsDrawn, INT_MAX)));
        return !cancelled;
    });
    // Drawing is over: the progress closes now, so it cannot come up over an alert below and
    // hide what the alert says.
    progress.reset();
    if (cancelled) return DopeExportOutcome::cancelled;  // nothing is written
    // An empty document is no card: nothing is written, and the user hears why.
    if (card.isEmpty()) {
        tellNotSaved(dialogs, tr("The card could not be drawn, so there was nothing to write."));
        return DopeExportOutcome::notSaved;
    }

    if (const std::optional<SaveFailure> failure = saveFileReplacing(*path, card)) {
        tellNotSaved(dialogs, tr("It could not be written to \u201c%1\u201d: %2.")
                                  .arg(QDir::toNativeSeparators(*path), failure->reason));
        return DopeExportOutcome::notSaved;
    }
    return DopeExportOutcome::saved;
}

}  // namespace kavrino
