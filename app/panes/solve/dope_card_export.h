#pragma once
// The DOPE card export of the solve pane: solve when there is nothing to print yet, draw the
// card from the current solve, ask where to save it and write it there in one piece. When the
// card cannot be drawn or written the user is told it was not saved, and why.
#include "core/ballistics.h"
#include "core/dope_card_pdf.h"

#include <QByteArray>

#include <functional>
#include <span>

namespace kavrino {

class Dialogs;
class SolveModel;

// Draws a card; DopeCardPDF::render in the application.
using DopeCardRenderer =
    std::function<QByteArray(const DopeCardPDF::Meta&, std::span<const TrajectoryPoint>)>;

enum class DopeExportOutcome { saved, cancelled, notSaved };

// The file name the save panel proposes.
QString dopeCardFileName();

DopeExportOutcome exportDopeCard(SolveModel& model, Dialogs& dialogs,
                                 const DopeCardRenderer& render = DopeCardPDF::render);

}  // namespace kavrino
