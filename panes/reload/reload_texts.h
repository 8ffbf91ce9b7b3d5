#pragma once
// The texts of the reload pane, built from the selection: form rows, picker items, the
// prediction tiles, the chart annotation and the load-data card. Figures use printf formats with
// a full stop (core/format.h); whole numbers with grouping follow the user's locale (QLocale()).
#include "reload/ballistics.h"
#include "reload/reload_records.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace kavrino::reload_texts {

// What stands where a value cannot be given.
inline const QString kNoValue = QStringLiteral("\u2014");

// The value truncated toward zero to a 64-bit integer, with the locale's grouping separators;
// "—" when it is not finite or lies outside the 64-bit range.
QString wholeNumber(double value);

// Form rows.
QString caseCapacity(const CaseInfo& info);  // "52.5 gr H₂O" or "—"
QString maxPressure(const CaseInfo& info);   // "62,000 psi SAAMI" or "—"
QString loadItem(const Load& load);          // "140 gr · H4350"
QString powderName(const Powder& powder);    // "Hodgdon H4350"
QString bullet(const Load& load);            // "140 gr · 0.264\""
QString charge(double grains);               // "40.4 gr"
QString startCharge(double grains);          // "start 38.0"
QString maxCharge(double grains);            // "max 42.0"

// A predicted value as its tile shows it, wherever the pane shows it.
QString velocity(double feetPerSecond);  // "2692 fps": rounded to whole feet per second
QString pressure(double psi);            // "60,363 psi": a whole number with grouping; "—" out of range

// The colour role of a tile's value; the pane maps it to the palette.
enum class Tone { accentBright, primary, red, green };

struct Tile {
    QString label;
    QString value;
    Tone tone;
};

// Muzzle velocity, peak pressure, case fill and SAAMI margin of a prediction (all "—" without).
std::array<Tile, 4> predictionTiles(const std::optional<Ballistics::Prediction>& prediction);

// The annotation of the maximum-pressure rule: "SAAMI MAX 62,000 PSI".
QString saamiRule(double maxPressurePsi);

// The load-data card: its title and the cells the load has data for.
QString loadDataTitle(const QString& source);
struct Cell {
    QString label;
    QString value;
};
// Velocity window (the card is shown only with both velocities), pressure window, COAL, primer.
std::vector<Cell> loadDataCells(const Load& load);

}  // namespace kavrino::reload_texts
