#pragma once
// The texts of the catalog pane's rows: a bullet reads its label over its ballistic-coefficient
// text, a factory load its name over its velocity and that text.
#include <QString>

#include <optional>

namespace kavrino {

struct CatalogBullet;
struct CatalogCartridge;

// "BC 0.243 G7": the coefficient and drag model that applying the entry sets.
QString ballisticCoefficientText(std::optional<double> g7BC, std::optional<double> g1BC);

// The bullet's ballistic-coefficient text.
QString bulletSubtitle(const CatalogBullet& bullet);

// "2820 fps · BC 0.243 G7": the muzzle velocity in whole feet per second, truncated toward
// zero ("—" when it is not a finite number), then the ballistic-coefficient text.
QString cartridgeSubtitle(const CatalogCartridge& cartridge);

}  // namespace kavrino
