#include "reload/ballistics.h"

#include <cmath>
#include <limits>

namespace kavrino::Ballistics {

namespace {

// The constants are used exactly as written, in the order of operations below, so that results
// agree bit for bit with any other implementation of the same model (built with
// -ffp-contract=off: no fused multiply-adds).
constexpr double kGrainsToGrams = 0.06479891;
constexpr double kGrainsToKilograms = 6.479891e-5;
constexpr double kInchesToCm = 2.54;
constexpr double kMetresToFeet = 3.280839895013123;
constexpr double kPi = 3.141592653589793;
constexpr double kShortestTravelIn = 1.0;
constexpr double kSmallestBurntMassKg = 1e-9;
constexpr double kSmallestFreeVolumeCm3 = 0.05;
constexpr double kBulkDensity = 0.95;  // g/cm³, for the case fill only

// What does not depend on the charge: case volume (cm³) and the expansion factor.
struct Geometry {
    double caseVolumeCm3;
    double expansionFactor;
};

Geometry geometry(const Inputs& in, const PowderParams& powder) {
    const double v = in.caseCapacityGrH2o * kGrainsToGrams;
    const double r = in.bulletDiameterIn * kInchesToCm * 0.5;
    const double area = r * (r * kPi);
    double travel = in.barrelLengthIn - in.trimLengthIn;
    if (travel <= kShortestTravelIn) travel = kShortestTravelIn;
    const double travelCm = travel * kInchesToCm;
    const double ratio = (v + area * travelCm) / v;
    return {v, 1.0 - std::pow(ratio, -(powder.gamma - 1.0))};
}

double velocityFps(double twoKv, double chargeKg, double c0Kg, double bulletKg, double expansionFactor) {
    double burnt = chargeKg - c0Kg;
    if (burnt <= kSmallestBurntMassKg) burnt = kSmallestBurntMassKg;
    const double energy = (twoKv * burnt) / (bulletKg + chargeKg / 3.0) * expansionFactor;
    return energy > 0.0 ? std::sqrt(energy) * kMetresToFeet : 0.0;
}

std::optional<double> pressurePsi(double chargeGrams, double caseVolumeCm3, const PowderParams& powder) {
    if (!powder.kp) return std::nullopt;
    const double free = caseVolumeCm3 - powder.b.value_or(0.0) * chargeGrams;
    if (free <= kSmallestFreeVolumeCm3) return std::nullopt;
    return (chargeGrams * *powder.kp) / free;
}

// x to the nearest tenth, halves away from zero.
double tenth(double x) { return std::round(x * 10.0) / 10.0; }

}  // namespace

Prediction predict(const Inputs& in, const PowderParams& powder, std::optional<double> maxPressurePsi) {
    const Geometry g = geometry(in, powder);
    const double chargeKg = in.chargeGr * kGrainsToKilograms;
    const double bulletKg = in.bulletWeightGr * kGrainsToKilograms;
    const double c0Kg = powder.c0Gr * kGrainsToKilograms;

    Prediction p;
    p.velocityFps = velocityFps(powder.kv + powder.kv, chargeKg, c0Kg, bulletKg, g.expansionFactor);
    const double chargeGrams = kGrainsToGrams * in.chargeGr;
    p.pressurePsi = pressurePsi(chargeGrams, g.caseVolumeCm3, powder);
    p.overMax = p.pressurePsi && maxPressurePsi && *p.pressurePsi > *maxPressurePsi;
    p.caseFillPercent = chargeGrams / kBulkDensity / g.caseVolumeCm3 * 100.0;
    p.maxPressurePsi = maxPressurePsi;
    return p;
}

std::vector<SweepPoint> sweep(const Inputs& in, const PowderParams& powder, double startGr, double maxGr,
                              int steps) {
    std::vector<SweepPoint> points;
    // Also false when either charge is not a number. A sweep of no steps has no spacing.
    if (!(startGr < maxGr) || steps < 1) return points;

    const Geometry g = geometry(in, powder);
    const double bulletKg = in.bulletWeightGr * kGrainsToKilograms;
    const double c0Kg = powder.c0Gr * kGrainsToKilograms;
    const double twoKv = 2.0 * powder.kv;

    points.reserve(static_cast<std::size_t>(steps) + 1);
    for (int i = 0; i <= steps; ++i) {
        const double charge = startGr + ((maxGr - startGr) * static_cast<double>(i)) / static_cast<double>(steps);
        const double chargeKg = charge * kGrainsToKilograms;
        points.push_back({QUuid::createUuid(), charge,
                          velocityFps(twoKv, chargeKg, c0Kg, bulletKg, g.expansionFactor),
                          pressurePsi(kGrainsToGrams * charge, g.caseVolumeCm3, powder)});
    }
    return points;
}

double suggestCharge(double startGr, double maxGr, const std::optional<Inputs>& inputs, const PowderParams& powder,
                     std::optional<double> maxPressurePsi) {
    const double base = tenth(startGr + (maxGr - startGr) * 0.6);
    if (!maxPressurePsi || !inputs || !(startGr < maxGr)) return base;

    const double target = *maxPressurePsi * 0.92;
    const std::vector<SweepPoint> points = sweep(*inputs, powder, startGr, maxGr, 40);
    for (auto it = points.rbegin(); it != points.rend(); ++it) {
        const double pressure = it->pressurePsi.value_or(std::numeric_limits<double>::infinity());
        if (pressure <= target) return tenth(it->chargeGr);
    }
    return base;
}

}  // namespace kavrino::Ballistics
