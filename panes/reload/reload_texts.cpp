#include "panes/reload/reload_texts.h"

#include "core/format.h"

#include <QLocale>

#include <cmath>
#include <cstdint>

namespace kavrino::reload_texts {

namespace {

// A printf figure of a finite value; "—" for infinity and NaN, which printf would spell out.
template <typename... Values>
QString figure(const char* format, Values... values) {
    if (!(std::isfinite(values) && ...)) return kNoValue;
    return qformat(format, values...);
}

}  // namespace

QString wholeNumber(double value) {
    // -2^63 is exactly representable and fits; 2^63 is the first value above the range.
    if (!std::isfinite(value) || value < -9223372036854775808.0 || value >= 9223372036854775808.0) return kNoValue;
    return QLocale().toString(qlonglong(static_cast<std::int64_t>(value)));
}

QString caseCapacity(const CaseInfo& info) {
    return info.caseWaterCapacityGrH2o ? figure("%.1f gr H\u2082O", *info.caseWaterCapacityGrH2o) : kNoValue;
}

QString maxPressure(const CaseInfo& info) {
    if (!info.maxPressurePsi) return kNoValue;
    const QString number = wholeNumber(*info.maxPressurePsi);
    if (number == kNoValue) return kNoValue;
    return number + QStringLiteral(" psi ") + info.pressureStandard.value_or(QString());
}

QString loadItem(const Load& load) {
    return figure("%.0f gr", load.bulletWeightGr.value_or(NAN)) + QStringLiteral(" \u00b7 ") + load.powder;
}

QString powderName(const Powder& powder) {
    return powder.manufacturer.value_or(QString()) + QLatin1Char(' ') + powder.name;
}

QString bullet(const Load& load) {
    return figure("%.0f gr", load.bulletWeightGr.value_or(NAN)) + QStringLiteral(" \u00b7 ") +
           figure("%.3f\"", load.bulletDiameterIn.value_or(NAN));
}

QString charge(double grains) { return figure("%.1f gr", grains); }
QString startCharge(double grains) { return figure("start %.1f", grains); }
QString maxCharge(double grains) { return figure("max %.1f", grains); }

QString velocity(double feetPerSecond) { return figure("%.0f fps", feetPerSecond); }

QString pressure(double psi) {
    const QString number = wholeNumber(psi);
    return number == kNoValue ? kNoValue : number + QStringLiteral(" psi");
}

std::array<Tile, 4> predictionTiles(const std::optional<Ballistics::Prediction>& prediction) {
    std::array<Tile, 4> tiles{{
        {QStringLiteral("Muzzle velocity"), kNoValue, Tone::accentBright},
        {QStringLiteral("Peak pressure"), kNoValue, Tone::primary},
        {QStringLiteral("Case fill"), kNoValue, Tone::primary},
        {QStringLiteral("SAAMI margin"), kNoValue, Tone::green},
    }};
    if (!prediction) return tiles;
    const Ballistics::Prediction& p = *prediction;
    tiles[0].value = velocity(p.velocityFps);
    if (p.pressurePsi) tiles[1].value = pressure(*p.pressurePsi);
    tiles[1].tone = p.overMax ? Tone::red : Tone::primary;
    tiles[2].value = figure("%.0f %%", p.caseFillPercent);
    if (p.pressurePsi && p.maxPressurePsi)
        tiles[3].value = figure("%+.0f %%", (*p.maxPressurePsi - *p.pressurePsi) / *p.maxPressurePsi * 100.0);
    tiles[3].tone = p.overMax ? Tone::red : Tone::green;
    return tiles;
}

QString saamiRule(double maxPressurePsi) {
    return QStringLiteral("SAAMI MAX ") + wholeNumber(maxPressurePsi) + QStringLiteral(" PSI");
}

QString loadDataTitle(const QString& source) { return QStringLiteral("Load data \u2014 ") + source; }

std::vector<Cell> loadDataCells(const Load& load) {
    std::vector<Cell> cells;
    if (load.startVelocityFps && load.maxVelocityFps)
        cells.push_back({QStringLiteral("Velocity window"),
                         figure("%.0f \u2013 %.0f fps", *load.startVelocityFps, *load.maxVelocityFps)});
    if (load.startPressure && load.maxPressure) {
        // The unit is data, set after the figures rather than passed through the format.
        QString window = figure("%.0f \u2013 %.0f", *load.startPressure, *load.maxPressure);
        if (window != kNoValue) window += QLatin1Char(' ') + load.pressureUnit.value_or(QStringLiteral("psi"));
        cells.push_back({QStringLiteral("Pressure window"), window});
    }
    if (load.coalIn) cells.push_back({QStringLiteral("COAL"), figure("%.3f in", *load.coalIn)});
    if (load.primer) cells.push_back({QStringLiteral("Primer"), *load.primer});
    return cells;
}

}  // namespace kavrino::reload_texts
