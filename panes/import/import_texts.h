#pragma once
// The texts of the import pane: the status line after each file action, the chronograph
// tiles, the active drag curve's summary, and the figures the actions apply. Built from data
// with a full stop as decimal separator whatever the locale.
#include "core/chrono_import.h"

#include <QString>

#include <array>
#include <cstddef>

namespace kavrino {

// The status line before any file action.
QString noFileLoadedStatus();
// "Loaded 10 shots from range-day.csv."
QString shotsLoadedStatus(std::size_t shots, const QString& fileName);
QString noVelocityColumnStatus();
// "Applied 2805 fps to the active load.": the average truncated toward zero.
QString averageAppliedStatus(double average);
// "Loaded 42-point drag curve; solving with measured Cd."
QString dragCurveLoadedStatus(std::size_t rows);
QString noDragCurveStatus();
// A file over the readers' bound, whichever card opened it.
QString fileTooLargeStatus();

// The muzzle velocity that applying `average` sets: rounded to one decimal, halves away from
// zero (2805.96 gives 2806.0).
double appliedMuzzleVelocity(double average);

// The four tiles of a series, in order: object name (for tests) and label.
struct ChronographTile {
    const char* objectName;
    const char* label;
};
inline constexpr std::array<ChronographTile, 4> chronographTiles{{
    {"shotsTile", "Shots"},
    {"averageTile", "Average"},
    {"standardDeviationTile", "Std dev"},
    {"extremeSpreadTile", "Extreme spread"},
}};
// Their values: the number of shots, the average ("%.0f"), the standard deviation ("%.1f")
// and the extreme spread ("%.0f").
std::array<QString, 4> chronographTileValues(const ChronoImport::Series& series);

// "lot-42 — 42 points · Mach 0.50–3.00". An empty curve has no Mach range to show.
QString dragCurveSummary(const QString& name, const DragCurve& curve);

// The name a curve takes from its file: the last path component without its extension, as
// g7-doppler for /data/g7-doppler.csv. A leading dot starts no extension (.curve stays .curve),
// nor does a trailing one.
QString curveNameForFile(const QString& path);
// The last path component with its extension.
QString fileNameForStatus(const QString& path);

}  // namespace kavrino
