#include "panes/comparison/comparison_model.h"

#include "core/catalog.h"
#include "core/format.h"

#include <optional>
#include <string>

namespace kavrino {
namespace {

// Every comparison runs at standard pressure and 50 % humidity, level, with spin drift and
// without Coriolis (no latitude or azimuth is involved).
constexpr double comparisonPressure = 29.92;  // inHg
constexpr double comparisonHumidity = 50;     // percent

// A bullet without a length, and every cartridge, is taken as 1.2 in long (stability only).
constexpr double assumedBulletLength = 1.2;  // in
// The BC of a load whose record carries none.
constexpr double assumedG1BC = 0.5;

// A positive G7 value wins; otherwise the G1 value (even 0 or below), or 0.5 without one.
void applyBCRule(ComparisonModel::Load& load, const std::optional<double>& g1BC, const std::optional<double>& g7BC) {
    if (g7BC && *g7BC > 0) {
        load.bc = *g7BC;
        load.dragModel = DragModel::G7;
    } else {
        load.bc = g1BC.value_or(assumedG1BC);
        load.dragModel = DragModel::G1;
    }
}

}  // namespace

ComparisonModel::ComparisonModel(QObject* parent) : QObject(parent) {}

ComparisonModel::ComparisonModel(Integrator integrator, QObject* parent)
    : QObject(parent), m_integrator(std::move(integrator)) {}

void ComparisonModel::add(const CatalogBullet& bullet, double muzzleVelocity) {
    Load load;
    applyBCRule(load, bullet.g1BC, bullet.g7BC);
    load.name = bulletLabel(bullet);
    load.muzzleVelocity = muzzleVelocity;
    load.weight = bullet.weight;
    load.diameter = bullet.caliber;
    load.length = bullet.length.value_or(assumedBulletLength);
    m_loads.push_back(std::move(load));
    emit changed();
    recomputeComparison();
}

void ComparisonModel::add(const CatalogCartridge& cartridge) {
    Load load;
    applyBCRule(load, cartridge.g1BC, cartridge.g7BC);
    load.name = cartridge.name;
    load.muzzleVelocity = cartridge.muzzleVelocity;
    load.weight = cartridge.bulletWeight;
    load.diameter = cartridge.caliber;
    load.length = assumedBulletLength;
    m_loads.push_back(std::move(load));
    emit changed();
    recomputeComparison();
}

void ComparisonModel::removeLoad(const QUuid& id) {
    std::erase_if(m_loads, [&](const Load& load) { return load.id == id; });
    emit changed();
}

void ComparisonModel::recomputeComparison() {
    const std::size_t count = m_loads.size();
    std::vector<BallisticEngine::Inputs> inputs;
    inputs.reserve(count);
    for (const Load& load : m_loads) {
        BallisticEngine::Inputs in;
        in.muzzleVelocity = load.muzzleVelocity;
        in.ballisticCoefficient = load.bc;
        in.dragModel = load.dragModel;
        in.bulletWeight = load.weight;
        in.bulletDiameter = load.diameter;
        in.bulletLength = load.length;
        in.twistRate = m_twistRate;
        in.sightHeight = m_sightHeight;
        in.zeroRange = m_zeroRange;
        in.maxRange = m_maxRange;
        in.rangeStep = m_rangeStep;
        in.temperature = m_temperature;
        in.pressure = comparisonPressure;
        in.humidity = comparisonHumidity;
        in.windSpeed = m_windSpeed;
        in.windDirection = m_windDirection;
        in.shootingAngle = 0;
        in.includeSpinDrift = true;
        in.includeCoriolis = false;
        inputs.push_back(in);
    }
    // The built-in integrator flies every load side by side, each exactly as alone.
    std::vector<std::vector<TrajectoryPoint>> trajectories;
    if (!m_integrator) trajectories = BallisticEngine::solveEach(inputs);
    // A view answering changed() may remove loads; stop at the end of what is left.
    for (std::size_t i = 0; i < count && i < m_loads.size(); ++i) {
        m_loads[i].trajectory = m_integrator ? m_integrator(inputs[i]) : std::move(trajectories[i]);
        emit changed();
    }
}

std::vector<double> ComparisonModel::ranges() const {
    std::vector<double> result;
    if (m_loads.empty()) return result;
    result.reserve(m_loads.front().trajectory.size());
    for (const TrajectoryPoint& row : m_loads.front().trajectory) result.push_back(row.range);
    return result;
}

QString ComparisonModel::comparisonCSV() const {
    // Names go in as they stand: no quoting, no escaping.
    std::string text = "range_yd";
    for (const Load& load : m_loads) {
        const std::string name = load.name.toStdString();
        text += ",";
        text += name;
        text += " dropMOA,";
        text += name;
        text += " windMIL";
    }
    const std::vector<double> rangeColumn = ranges();
    for (std::size_t r = 0; r < rangeColumn.size(); ++r) {
        text += "\n";
        text += cformat("%.0f", rangeColumn[r]);
        for (const Load& load : m_loads) {
            // Rows are matched by position; a load that ran out of rows writes zeros.
            if (r < load.trajectory.size()) {
                const TrajectoryPoint& row = load.trajectory[r];
                text += cformat(",%.2f,%.2f", row.dropMOA, row.windDriftMil);
            } else {
                text += cformat(",%.2f,%.2f", 0.0, 0.0);
            }
        }
    }
    return QString::fromStdString(text);
}

}  // namespace kavrino
