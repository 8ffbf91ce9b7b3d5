#pragma once
// The DOPE card export of the solve pane: solve when there is nothing to print yet, ask where to
// save the card, draw it from the current solve (with progress the user can cancel when that
// takes long) and write it there in one piece. When the card cannot be drawn or written the
// user is told it was not saved, and why.
#include "core/ballistics.h"
#include "core/dope_card_pdf.h"

#include <QByteArray>

#include <functional>
#include <span>

namespace kavrino {

class Dialogs;
class SolveModel;

// Draws a card, reporting progress; DopeCardPDF::render in the application.
using DopeCardRenderer = std::function<QByteArray(
    const DopeCardPDF::Meta&, std::span<const TrajectoryPoint>, const DopeCardPDF::RenderProgress&)>;

enum class DopeExportOutcome { saved, cancelled, notSaved };

// The file name the save panel proposes.
QString dopeCardFileName();

// DopeCardPDF::render.
DopeCardRenderer defaultDopeCardRenderer();

DopeExportOutcome exportDopeCard(SolveModel& model, Dialogs& dialogs,
                                 const DopeCardRenderer& render = defaultDopeCardRenderer());

}  // namespace kavrino
