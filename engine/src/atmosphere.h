#pragma once
// Air around the bullet: density relative to the standard atmosphere and the speed of sound.

namespace kavrino_engine::atmosphere {

// Air density divided by standard density (59 °F, 29.92 inHg, dry) at `temperatureF` (°F),
// `pressureInHg` (inches of mercury) and `humidityPercent` (0 to 100), with the water-vapour
// pressure from the Magnus formula. Not a number for a temperature of -459.67 °F or below.
double air_density_ratio(double temperatureF, double pressureInHg, double humidityPercent);

// Speed of sound in ft/s at `temperatureF` (°F): 49.0223 * sqrt(T + 459.67).
double speed_of_sound(double temperatureF);

}  // namespace kavrino_engine::atmosphere
