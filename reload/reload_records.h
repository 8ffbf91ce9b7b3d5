#pragma once
// The records of the reload data: published-format loads, cartridge cases, powders with their
// interior-ballistics parameters, and the per-cartridge summaries the catalog builds.
#include <QString>

#include <cstdint>
#include <optional>

namespace kavrino {

// Interior-ballistics parameters of one powder; see reload/ballistics.h for how each is used.
struct PowderParams {
    double kv = 0.0;                // specific energy, J/kg (m²/s²); required in the file
    double c0Gr = 0.0;              // grains of charge that do no work
    std::optional<double> kp;       // pressure coefficient, psi per g/cm³; none: no pressure prediction
    std::optional<double> b;        // covolume, cm³ per gram of charge; none counts as 0
    double gamma = 1.24;            // ratio of specific heats of the powder gas
    bool operator==(const PowderParams&) const = default;
};

// One hand load as the loads file lists it. `id` is replaced by the load's position on loading.
struct Load {
    QString id;
    QString cartridge;
    std::optional<double> bulletWeightGr;
    std::optional<double> bulletDiameterIn;
    std::optional<QString> powderManufacturer;
    QString powder;
    std::optional<double> startChargeGr;
    std::optional<double> maxChargeGr;
    std::optional<double> startVelocityFps;
    std::optional<double> maxVelocityFps;
    std::optional<double> startPressure;
    std::optional<double> maxPressure;
    std::optional<QString> pressureUnit;
    std::optional<double> coalIn;  // cartridge overall length, inches
    std::optional<QString> caseName;
    std::optional<QString> primer;
    std::optional<double> barrelLengthIn;
    std::optional<QString> twist;
    std::int64_t sourceIndex = 0;  // index into the catalog's sources; may lie outside them
    bool operator==(const Load&) const = default;
};

// Facts about one cartridge case.
struct CaseInfo {
    QString id;
    QString name;
    std::optional<double> barrelLengthIn;
    std::optional<QString> twist;
    std::optional<double> trimLengthIn;
    std::optional<double> bulletWeightMinGr;
    std::optional<double> bulletWeightMaxGr;
    std::optional<std::int64_t> powderCount;
    std::optional<std::int64_t> loadCount;
    std::optional<double> observedMaxPressurePsi;
    std::optional<double> caseWaterCapacityGrH2o;  // grains of water
    std::optional<double> maxPressurePsi;
    std::optional<QString> pressureStandard;
    bool operator==(const CaseInfo&) const = default;
};

// One powder. `id` gains "#<position in burn-rate order>" on loading.
struct Powder {
    QString id;
    std::optional<QString> manufacturer;
    QString name;
    std::optional<std::int64_t> burnRateRank;  // smaller burns faster
    std::optional<QString> type;
    bool hasLoadData = false;
    std::int64_t loadCount = 0;
    std::optional<PowderParams> params;
    bool operator==(const Powder&) const = default;
};

// One entry of the cartridge list, built by the loader from the loads.
struct CartridgeSummary {
    QString name;  // exactly as the loads spell it
    int loadCount = 0;
    int powderCount = 0;  // distinct powder names among its loads
    std::optional<CaseInfo> info;
    bool operator==(const CartridgeSummary&) const = default;
};

}  // namespace kavrino
