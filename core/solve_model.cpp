#include "core/solve_model.h"

#include "core/ballistic_engine.h"
#include "core/catalog.h"
#include "core/engine_bridge.h"
#include "core/logging.h"

#include <QElapsedTimer>
#include <QJsonArray>

#include <nlohmann/json.hpp>

#include <cmath>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace kavrino {
namespace {

using json = nlohmann::json;

// One request value: a number, a flag, a text or the curve rows.
using RequestValue = std::variant<double, bool, QString, DragCurve>;
using RequestEntries = std::vector<std::pair<QString, RequestValue>>;

// The request's entries from the model's current inputs, in their stored units. Both the
// dictionary that buildRequest() returns and the text sent to the library are made from it.
RequestEntries requestEntries(const SolveModel& model) {
    RequestEntries entries{
        {"muzzleVelocity", model.muzzleVelocity()},
        {"ballisticCoefficient", model.ballisticCoefficient()},
        {"dragModel", model.customCurve() ? QStringLiteral("Custom") : QString::fromUtf8(rawValue(model.dragModel()))},
        {"bulletWeight", model.bulletWeight()},
        {"sightHeight", model.sightHeight()},
        {"zeroRange", model.zeroRange()},
        {"maxRange", model.maxRange()},
        {"rangeStep", model.rangeStep()},
        {"temperature", model.temperature()},
        {"pressure", model.pressure()},
        {"altitude", model.altitude()},
        {"humidity", model.humidity()},
        {"windSpeed", model.windSpeed()},
        {"windDirection", model.windDirection()},
        {"shootingAngle", model.shootingAngle()},
        {"latitude", model.latitude()},
        {"targetAzimuth", model.targetAzimuth()},
        {"includeCoriolis", model.includeCoriolis()},
        {"includeSpinDrift", model.includeSpinDrift()},
        {"twistRate", model.twistRate()},
        {"bulletDiameter", model.bulletDiameter()},
        {"bulletLength", model.bulletLength()},
    };
    if (model.customCurve()) entries.emplace_back("customCurve", *model.customCurve());
    return entries;
}

// JSON has no text for an infinite or undefined number; a request holding one cannot be
// encoded and the solve goes straight to the built-in integrator.
bool encodable(const RequestValue& value) {
    if (const double* number = std::get_if<double>(&value)) return std::isfinite(*number);
    if (const DragCurve* curve = std::get_if<DragCurve>(&value)) {
        for (const auto& [mach, cd] : *curve) {
            if (!std::isfinite(mach) || !std::isfinite(cd)) return false;
        }
    }
    return true;
}

// The compact request text. Numbers are written in shortest round-trip form with their sign,
// so a -0 input reaches the library as -0.0 (QJsonValue would turn it into the integer 0 and
// flip the sign of a zero wind drift).
std::optional<std::string> encodeRequest(const RequestEntries& entries) {
    json request = json::object();
    for (const auto& [key, value] : entries) {
        if (!encodable(value)) return std::nullopt;
        json& slot = request[key.toStdString()];
        std::visit(
            [&slot](const auto& v) {
                using V = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<V, QString>) {
                    slot = v.toStdString();
                } else if constexpr (std::is_same_v<V, DragCurve>) {
                    slot = json::array();
                    for (const auto& [mach, cd] : v) slot.push_back(json::array({mach, cd}));
                } else {
                    slot = v;
                }
            },
            value);
    }
    return request.dump();
}

}  // namespace

SolveModel::SolveModel(QObject* parent)
    : QObject(parent),
      m_bulletName(QStringLiteral(".308 168gr HPBT")),
      m_stabilityRating(QStringLiteral("\u2014")) {}

QJsonObject SolveModel::buildRequest() const {
    QJsonObject request;
    for (const auto& entry : requestEntries(*this)) {
        // Plain names, not a structured binding: clang 14 lets no lambda capture a binding.
        const auto& key = entry.first;
        const auto& value = entry.second;
        std::visit(
            [&](const auto& v) {
                using V = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<V, DragCurve>) {
                    QJsonArray rows;
                    for (const auto& [mach, cd] : v) rows.append(QJsonArray{mach, cd});
                    request.insert(key, rows);
                } else {
                    request.insert(key, v);
                }
            },
            value);
    }
    return request;
}

void SolveModel::solve() {
    QElapsedTimer clock;  // monotonic
    clock.start();

    const std::optional<std::string> request = encodeRequest(requestEntries(*this));
    if (!request) {
        qCWarning(lcEngine) << "the request holds a number that is not finite (an input or the drag curve)"
                               " - the solve falls back to the built-in integrator";
    }
    const std::optional<EngineBridge::Solution> solution =
        request ? EngineBridge::solve(*request) : std::nullopt;
    if (solution) {
        m_trajectory = solution->trajectoryPoints();
        m_stabilitySg = solution->stability.sg;
        m_stabilityRating = QString::fromStdString(solution->stability.rating);
        m_transonicRange = solution->transonicRange;
        m_subsonicRange = solution->subsonicRange;
    } else {
        // The library gave no usable answer: the built-in integrator, G1 or G7 table by the
        // drag model (a custom curve is not used), and the stability and zone results of the
        // last library solve stay as they were.
        BallisticEngine::Inputs inputs;
        inputs.muzzleVelocity = m_muzzleVelocity;
        inputs.ballisticCoefficient = m_ballisticCoefficient;
        inputs.dragModel = m_dragModel;
        inputs.bulletWeight = m_bulletWeight;
        inputs.sightHeight = m_sightHeight;
        inputs.zeroRange = m_zeroRange;
        inputs.maxRange = m_maxRange;
        inputs.rangeStep = m_rangeStep;
        inputs.temperature = m_temperature;
        inputs.pressure = m_pressure;
        inputs.humidity = m_humidity;
        inputs.windSpeed = m_windSpeed;
        inputs.windDirection = m_windDirection;
        inputs.shootingAngle = m_shootingAngle;
        inputs.latitude = m_latitude;
        inputs.targetAzimuth = m_targetAzimuth;
        inputs.includeCoriolis = m_includeCoriolis;
        inputs.includeSpinDrift = m_includeSpinDrift;
        inputs.twistRate = m_twistRate;
        inputs.bulletDiameter = m_bulletDiameter;
        inputs.bulletLength = m_bulletLength;
        m_trajectory = BallisticEngine::solve(inputs);
    }

    m_lastSolveMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    emit changed();
}

void SolveModel::applyBallisticCoefficient(std::optional<double> g7BC, std::optional<double> g1BC) {
    const CatalogBallisticCoefficient chosen = catalogBallisticCoefficient(g7BC, g1BC);
    m_ballisticCoefficient = chosen.coefficient;  // before the drag model
    m_dragModel = chosen.dragModel;
}

void SolveModel::apply(const CatalogBullet& bullet) {
    m_bulletName = bulletLabel(bullet);
    m_bulletWeight = bullet.weight;
    m_bulletDiameter = bullet.caliber;
    if (bullet.length) m_bulletLength = *bullet.length;
    applyBallisticCoefficient(bullet.g7BC, bullet.g1BC);
    solve();  // one changed() for the whole change
}

void SolveModel::apply(const CatalogCartridge& cartridge) {
    m_bulletName = cartridge.name;
    m_bulletWeight = cartridge.bulletWeight;
    m_bulletDiameter = cartridge.caliber;
    m_muzzleVelocity = cartridge.muzzleVelocity;
    applyBallisticCoefficient(cartridge.g7BC, cartridge.g1BC);
    solve();
}

void SolveModel::applyCustomCurve(std::optional<DragCurve> curve, std::optional<QString> name) {
    m_customCurve = std::move(curve);
    m_customCurveName = std::move(name);
    solve();  // one changed() for the curve, its name and the new trajectory
}

void SolveModel::applyMuzzleVelocity(double feetPerSecond) {
    m_muzzleVelocity = feetPerSecond;
    solve();  // one changed() for the velocity and the new trajectory
}

}  // namespace kavrino
