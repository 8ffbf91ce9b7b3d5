#include "panes/catalog/catalog_row_texts.h"

#include "core/catalog.h"
#include "core/format.h"

#include <cmath>
#include <string>

namespace kavrino {

QString ballisticCoefficientText(std::optional<double> g7BC, std::optional<double> g1BC) {
    const CatalogBallisticCoefficient chosen = catalogBallisticCoefficient(g7BC, g1BC);
    return qformat("BC %.3f %s", chosen.coefficient, std::string(rawValue(chosen.dragModel)));
}

QString bulletSubtitle(const CatalogBullet& bullet) {
    return ballisticCoefficientText(bullet.g7BC, bullet.g1BC);
}

QString cartridgeSubtitle(const CatalogCartridge& cartridge) {
    const double velocity = cartridge.muzzleVelocity;
    // "%.0f" of a truncated value writes every digit of it, so no integer conversion can
    // overflow; + 0.0 turns -0 into 0. A value that is no number has no whole-number text.
    const QString whole = std::isfinite(velocity) ? qformat("%.0f", std::trunc(velocity) + 0.0)
                                                  : QStringLiteral("\u2014");
    return whole + QStringLiteral(" fps \u00b7 ") + ballisticCoefficientText(cartridge.g7BC, cartridge.g1BC);
}

}  // namespace kavrino
