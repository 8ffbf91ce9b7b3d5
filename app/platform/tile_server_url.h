#pragma once
// Where the map's tiles come from, as the environment chose it when the program started:
// KAVRINO_TILE_URL, read once like the other start-up variables and kept in Platform.
#include <QString>

namespace kavrino {

class Environment;

// OpenStreetMap's public raster tiles.
inline constexpr char kOpenStreetMapTiles[] = "https://tile.openstreetmap.org/{z}/{x}/{y}.png";

// The URL template of the tile server the environment asks for, "{z}", "{x}" and "{y}" standing
// for the tile: KAVRINO_TILE_URL when set (blanks around it dropped), else OpenStreetMap's. Empty,
// and so no tiles, when the value is empty or not an http(s) URL holding {z}, {x} and {y}; a value
// that is not empty is then warned of under kavrino.map, since the map shows its grid and says
// nothing.
QString tileServerUrlFrom(const Environment& environment);

}  // namespace kavrino
