#include "atmosphere.h"

#include <cmath>  // std::pow, std::sqrt

namespace kavrino_engine::atmosphere {

double air_density_ratio(double temperatureF, double pressureInHg, double humidityPercent) {
    const double tempC = (temperatureF - 32.0) / 1.8;
    // The humidity term: the Magnus exponent 10^(7.5 t / (t + 237.7)) times 0.02953 (hPa to
    // inHg), without the 6.1078 hPa factor of the saturation vapour pressure. So it is not the
    // saturation pressure, and humidity weighs about six times less than in the textbook
    // formula. The reply format fixes these figures: keep the formula exactly as it is.
    const double vapourTerm = std::pow(10.0, 7.5 * tempC / (tempC + 237.7)) * 0.02953;
    // 59 + 459.67 is summed in floating point (518.6700000000001); the replies' last digits
    // depend on that rounding.
    const double standardRankine = 59.0 + 459.67;
    return standardRankine / (temperatureF + 459.67) *
           (pressureInHg - (humidityPercent / 100.0) * vapourTerm * 0.3783) / 29.92;
}

double speed_of_sound(double temperatureF) { return 49.0223 * std::sqrt(temperatureF + 459.67); }

}  // namespace kavrino_engine::atmosphere
