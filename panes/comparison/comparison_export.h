#pragma once
// The comparison's "Export CSV": asks where to save, proposing "kavrino-comparison.csv", and
// writes the model's CSV text there as UTF-8 in one piece (a temporary file beside it, then
// renamed over it). When it cannot be written the user is told it was not saved, and why; an
// earlier file at that place is left whole.
#include <QString>

namespace kavrino {

class ComparisonModel;
class Dialogs;

enum class ComparisonExportOutcome { saved, cancelled, notSaved };

// The file name the save panel proposes.
QString comparisonFileName();

ComparisonExportOutcome exportComparisonCSV(const ComparisonModel& model, Dialogs& dialogs);

}  // namespace kavrino
