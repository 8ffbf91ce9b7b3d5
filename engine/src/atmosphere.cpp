#include "atmosphere.h"

#include <cmath>  // std::pow, std::sqrt

namespace kavrino_engine::atmosphere {

double air_density_ratio(double temperatureF, double pressureInHg, double humidityPercent) {
    const double tempC = (temperatureF - 32.0) / 1.8;
    // Saturation vapour pressure (Magnus), converted from hPa to inHg.
    const double saturation = std::pow(10.0, 7.5 * tempC / (tempC + 237.7)) * 0.02953;
    // 59 + 459.67 is summed in floating point (518.6700000000001), as the reference does.
    const double standardRankine = 59.0 + 459.67;
    return standardRankine / (temperatureF + 459.67) *
           (pressureInHg - (humidityPercent / 100.0) * saturation * 0.3783) / 29.92;
}

double speed_of_sound(double temperatureF) { return 49.0223 * std::sqrt(temperatureF + 459.67); }

}  // namespace kavrino_engine::atmosphere
