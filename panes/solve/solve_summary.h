#pragma once
// The texts of the solve pane's results column, read from the solve model: the solve time,
// the seven figures of the summary strip with the stability colour, and the DOPE card heading.
#include "app/theme/components/metric.h"
#include "core/ballistics.h"
#include "core/dope_card_pdf.h"

#include <QColor>
#include <QString>

#include <array>

namespace kavrino {

class SolveModel;

// "G1", "G7" or "Custom": follows the drag model alone, not whether a curve is loaded.
QString dragModelText(DragModel model);

// `value` with its fraction dropped (toward zero), in plain digits: "2650" for 2650.9, "-3"
// for -3.7, "0" for -0.4. Not a finite number: "—". Magnitudes beyond 64-bit integers keep
// all their digits.
QString wholeNumberText(double value);

// "solved in 1.3 ms".
QString solvedInText(double milliseconds);

// Green for "stable", orange for "marginal", red for any other rating.
QColor stabilityColour(const QString& rating);

// The seven cells in order: Load, Muzzle Vel, BC, Zero, Stability, Transonic, Subsonic.
std::array<Metric, 7> summaryMetrics(const SolveModel& model);

// "59°F · 29.92 inHg · 0 ft · 0 mph @ 90°" from the model's conditions.
QString conditionsLine(const SolveModel& model);

// The card heading of the current inputs.
DopeCardPDF::Meta dopeCardMeta(const SolveModel& model);

}  // namespace kavrino
