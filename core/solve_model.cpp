#include "core/solve_model.h"

#include "core/ballistic_engine.h"
#include "core/catalog.h"
#include "core/engine_bridge.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace kavrino {
namespace {

// JSON has no text for an infinite or undefined number; a request holding one cannot be
// encoded and the solve goes straight to the built-in integrator.
bool encodable(const QJsonValue& value) {
    if (value.isDouble()) return std::isfinite(value.toDouble());
    if (value.isArray()) {
        for (const QJsonValue& element : value.toArray()) {
            if (!encodable(element)) return false;
        }
    }
    return true;
}

std::optional<std::string> encodeRequest(const QJsonObject& request) {
    for (const QJsonValue& value : request) {
        if (!encodable(value)) return std::nullopt;
    }
    return QJsonDocument(request).toJson(QJsonDocument::Compact).toStdString();
}

}  // namespace

SolveModel::SolveModel(QObject* parent)
    : QObject(parent),
      m_bulletName(QStringLiteral(".308 168gr HPBT")),
      m_stabilityRating(QStringLiteral("\u2014")) {}

QJsonObject SolveModel::buildRequest() const {
    QJsonObject request{
        {"muzzleVelocity", m_muzzleVelocity},
        {"ballisticCoefficient", m_ballisticCoefficient},
        {"dragModel", m_customCurve ? QStringLiteral("Custom") : QString::fromUtf8(rawValue(m_dragModel))},
        {"bulletWeight", m_bulletWeight},
        {"sightHeight", m_sightHeight},
        {"zeroRange", m_zeroRange},
        {"maxRange", m_maxRange},
        {"rangeStep", m_rangeStep},
        {"temperature", m_temperature},
        {"pressure", m_pressure},
        {"altitude", m_altitude},
        {"humidity", m_humidity},
        {"windSpeed", m_windSpeed},
        {"windDirection", m_windDirection},
        {"shootingAngle", m_shootingAngle},
        {"latitude", m_latitude},
        {"targetAzimuth", m_targetAzimuth},
        {"includeCoriolis", m_includeCoriolis},
        {"includeSpinDrift", m_includeSpinDrift},
        {"twistRate", m_twistRate},
        {"bulletDiameter", m_bulletDiameter},
        {"bulletLength", m_bulletLength},
    };
    if (m_customCurve) {
        QJsonArray rows;
        for (const auto& [mach, cd] : *m_customCurve) rows.append(QJsonArray{mach, cd});
        request.insert("customCurve", rows);
    }
    return request;
}

void SolveModel::solve() {
    QElapsedTimer clock;  // monotonic
    clock.start();

    const std::optional<std::string> request = encodeRequest(buildRequest());
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
    if (g7BC && *g7BC > 0) {
        m_ballisticCoefficient = *g7BC;
        m_dragModel = DragModel::G7;
    } else {
        m_ballisticCoefficient = g1BC.value_or(0.5);
        m_dragModel = DragModel::G1;
    }
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

}  // namespace kavrino
