#include "panes/solve/solve_summary.h"

#include "app/theme/palette.h"
#include "core/format.h"
#include "core/solve_model.h"

#include <QCoreApplication>

#include <cmath>

namespace kavrino {
namespace {

const QString kDash = QStringLiteral("\u2014");

QString rangeText(const std::optional<double>& yards) {
    if (!yards) return kDash;
    return wholeNumberText(*yards) + QStringLiteral(" yd");
}

QString tr(const char* text) { return QCoreApplication::translate("SolveView", text); }

}  // namespace

QString dragModelText(DragModel model) { return QString::fromUtf8(rawValue(model)); }

QString wholeNumberText(double value) {
    if (!std::isfinite(value)) return kDash;
    // trunc keeps every digit of large values; + 0.0 turns -0 into 0.
    return qformat("%.0f", std::trunc(value) + 0.0);
}

QString solvedInText(double milliseconds) { return qformat("solved in %.1f ms", milliseconds); }

QColor stabilityColour(const QString& rating) {
    if (rating == QLatin1String("stable")) return Palette::green();
    if (rating == QLatin1String("marginal")) return Palette::orange();
    return Palette::red();
}

std::array<Metric, 7> summaryMetrics(const SolveModel& model) {
    const QString bc = qformat("%.3f %s", model.ballisticCoefficient(),
                               dragModelText(model.dragModel()).toStdString());
    const QString stability = qformat("%.2f \u00b7 %s", model.stabilitySg(),
                                      model.stabilityRating().toStdString());
    return {{
        {QStringLiteral("load"), tr("Load"), model.bulletName(), {}},
        {QStringLiteral("muzzleVelocity"), tr("Muzzle Vel"),
         wholeNumberText(model.muzzleVelocity()) + QStringLiteral(" fps"), {}},
        {QStringLiteral("bc"), tr("BC"), bc, {}},
        {QStringLiteral("zero"), tr("Zero"), wholeNumberText(model.zeroRange()) + QStringLiteral(" yd"), {}},
        {QStringLiteral("stability"), tr("Stability"), stability, stabilityColour(model.stabilityRating())},
        {QStringLiteral("transonic"), tr("Transonic"), rangeText(model.transonicRange()), {}},
        {QStringLiteral("subsonic"), tr("Subsonic"), rangeText(model.subsonicRange()), {}},
    }};
}

QString conditionsLine(const SolveModel& model) {
    return qformat("%.0f\u00b0F \u00b7 %.2f inHg \u00b7 %.0f ft \u00b7 %.0f mph @ %.0f\u00b0",
                   model.temperature(), model.pressure(), model.altitude(), model.windSpeed(),
                   model.windDirection());
}

DopeCardPDF::Meta dopeCardMeta(const SolveModel& model) {
    DopeCardPDF::Meta meta;
    meta.title = QStringLiteral("Kavrino DOPE Card");
    meta.load = model.bulletName();
    meta.muzzleVelocity = model.muzzleVelocity();
    meta.bc = model.ballisticCoefficient();
    meta.dragModel = dragModelText(model.dragModel());
    meta.zeroRange = model.zeroRange();
    meta.sightHeight = model.sightHeight();
    meta.conditions = conditionsLine(model);
    return meta;
}

}  // namespace kavrino
