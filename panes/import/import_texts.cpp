#include "panes/import/import_texts.h"

#include "core/format.h"

#include <QFileInfo>

#include <cmath>
#include <limits>

namespace kavrino {
namespace {

// `value` with its fraction dropped, in plain digits; "—" when it has no whole-number form.
QString truncatedText(double value) {
    const double whole = std::trunc(value);
    if (!std::isfinite(whole) || std::fabs(whole) >= 0x1p63) return QStringLiteral("\u2014");
    return QString::number(static_cast<long long>(whole));
}

}  // namespace

QString noFileLoadedStatus() { return QStringLiteral("No file loaded."); }

QString shotsLoadedStatus(std::size_t shots, const QString& fileName) {
    return QStringLiteral("Loaded %1 shots from %2.").arg(QString::number(shots), fileName);
}

QString noVelocityColumnStatus() { return QStringLiteral("Couldn't find a velocity column in that file."); }

QString averageAppliedStatus(double average) {
    return QStringLiteral("Applied %1 fps to the active load.").arg(truncatedText(average));
}

QString dragCurveLoadedStatus(std::size_t rows) {
    return QStringLiteral("Loaded %1-point drag curve; solving with measured Cd.").arg(QString::number(rows));
}

QString noDragCurveStatus() {
    return QStringLiteral("Couldn't parse a Cd-vs-Mach curve from that file (need \u22653 rows of mach,cd).");
}

QString fileTooLargeStatus() {
    return QStringLiteral("Couldn't import that file: it is larger than %1 MB.")
        .arg(QString::number(largestCSVFileBytes >> 20));
}

double appliedMuzzleVelocity(double average) { return std::round(average * 10) / 10; }

std::array<QString, 4> chronographTileValues(const ChronoImport::Series& series) {
    return {QString::number(series.velocities().size()), qformat("%.0f", series.average()),
            qformat("%.1f", series.standardDeviation()), qformat("%.0f", series.extremeSpread())};
}

QString dragCurveSummary(const QString& name, const DragCurve& curve) {
    QString summary = name + QStringLiteral(" \u2014 ") + QString::number(curve.size()) + QStringLiteral(" points");
    if (curve.empty()) return summary;
    return summary + QStringLiteral(" \u00b7 Mach ") + qformat("%.2f", curve.front()[0]) + QStringLiteral("\u2013") +
           qformat("%.2f", curve.back()[0]);
}

QString fileNameForStatus(const QString& path) { return QFileInfo(path).fileName(); }

QString curveNameForFile(const QString& path) {
    const QString name = fileNameForStatus(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0 || dot == name.size() - 1) return name;
    return name.left(dot);
}

}  // namespace kavrino
