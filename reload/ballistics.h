#pragma once
// Interior-ballistics predictions for hand loads: a closed-form energy balance.
//
// The usable chemical energy of the burnt part of the charge (kv × (charge − c0)), reduced by
// the adiabatic-expansion factor 1 − R^−(γ−1) of the gas expanding from the case volume into
// case plus bore (expansion ratio R), accelerates the bullet and one third of the charge mass.
// Peak pressure is the charge density in the free case volume (case volume less the covolume
// of the charge) times the powder's pressure coefficient kp. Pure arithmetic on values.
//
// Units: charges and bullet weights in grains, lengths in inches, case capacity in grains of
// water (water at 1 g/cm³), velocities in ft/s, pressures in psi.
#include "reload/reload_records.h"

#include <QUuid>

#include <optional>
#include <vector>

namespace kavrino::Ballistics {

struct Inputs {
    double chargeGr = 0.0;
    double bulletWeightGr = 0.0;
    double bulletDiameterIn = 0.0;
    double barrelLengthIn = 24.0;
    double caseCapacityGrH2o = 0.0;
    double trimLengthIn = 0.0;  // bullet travel is barrel length less this, at least 1 inch
    bool operator==(const Inputs&) const = default;
};

struct Prediction {
    double velocityFps = 0.0;
    std::optional<double> pressurePsi;  // none without kp, or when the free volume is ≤ 0.05 cm³
    double caseFillPercent = 0.0;       // charge volume at 0.95 g/cm³ over case volume, × 100
    bool overMax = false;               // pressure and maximum both known and pressure > maximum
    std::optional<double> maxPressurePsi;  // carried along for display
    bool operator==(const Prediction&) const = default;
};

struct SweepPoint {
    QUuid id;  // new for every point
    double chargeGr = 0.0;
    double velocityFps = 0.0;
    std::optional<double> pressurePsi;
};

// Velocity, pressure and case fill at inputs.chargeGr.
Prediction predict(const Inputs& inputs, const PowderParams& powder, std::optional<double> maxPressurePsi);

// steps + 1 points at evenly spaced charges from startGr to maxGr (inputs.chargeGr is not used).
// Empty unless startGr < maxGr, and empty for steps < 1.
std::vector<SweepPoint> sweep(const Inputs& inputs, const PowderParams& powder, double startGr, double maxGr,
                              int steps);

// A starting charge to show when a load is picked, a multiple of 0.1 gr: the highest of 41
// evenly spaced charges from startGr to maxGr whose predicted pressure stays within 92 % of
// maxPressurePsi; the 60 % point of the range when there is no maximum, no inputs, no
// pressure prediction within the target, or no range.
double suggestCharge(double startGr, double maxGr, const std::optional<Inputs>& inputs, const PowderParams& powder,
                     std::optional<double> maxPressurePsi);

}  // namespace kavrino::Ballistics
