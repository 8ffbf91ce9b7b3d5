#include "panes/truing/truing_model.h"

#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

namespace kavrino {
namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

// Predictions run in standard air with no wind; the rows every 10 yd are fine enough to find
// a row within 5 yd of any observed range.
constexpr double truingRowStep = 10;     // yd
constexpr double truingTemperature = 59;  // °F
constexpr double truingPressure = 29.92;  // inHg
constexpr double truingHumidity = 50;     // percent

// Pass 1 searches ±200 ft/s around the current velocity and, with the BC fit on, ±15 % on the BC.
constexpr double velocityHalfWindow = 200;  // ft/s
constexpr double lowestFactor = 0.85;
constexpr double highestFactor = 1.15;
constexpr int passes = 3;
constexpr int velocityDivisions = 20;
constexpr int factorDivisions = 10;

// Candidates flown side by side by one thread.
constexpr std::size_t largestBatch = BallisticEngine::solvesSideBySide;

// Walks `value` from `lower` by repeated addition of `step` while it stays ≤ `upper`, calling
// `visit` for each value. The walk is defined by the additions, not by a count, so rounding may
// leave out the nominal last point. A step too small to move the value (a velocity so large
// that ±200 ft/s vanishes in its last digit) visits the value once instead of looping forever.
template <typename Visit>
void walk(double lower, double upper, double step, Visit&& visit) {
    for (double value = lower; value <= upper;) {
        visit(value);
        const double next = value + step;
        if (!(next > value)) break;
        value = next;
    }
}

}  // namespace

TruingModel::TruingModel(QObject* parent) : TruingModel(&BallisticEngine::solve, parent) { m_parallel = true; }

TruingModel::TruingModel(Integrator integrator, QObject* parent)
    : QObject(parent),
      m_integrator(std::move(integrator)),
      m_observations{{QUuid::createUuid(), 300, 5.0}, {QUuid::createUuid(), 600, 16.8}, {QUuid::createUuid(), 900, 34.4}} {}

void TruingModel::addObservation() {
    m_observations.push_back({QUuid::createUuid(), 500, 11.7});
    emit changed();
}

void TruingModel::removeObservation(const QUuid& id) {
    std::erase_if(m_observations, [&](const Observation& o) { return o.id == id; });
    emit changed();
}

void TruingModel::setObservationRange(const QUuid& id, double yards) {
    for (Observation& o : m_observations) {
        if (o.id == id) o.rangeYards = yards;
    }
    emit changed();
}

void TruingModel::setObservationDrop(const QUuid& id, double moa) {
    for (Observation& o : m_observations) {
        if (o.id == id) o.dropMOA = moa;
    }
    emit changed();
}

BallisticEngine::Inputs TruingModel::integratorInputs(double muzzleVelocity, double bcScale) const {
    double maxRange = m_zeroRange;
    for (const Observation& o : m_observations) {
        if (o.rangeYards > maxRange) maxRange = o.rangeYards;
    }

    BallisticEngine::Inputs in;
    in.muzzleVelocity = muzzleVelocity;
    in.ballisticCoefficient = m_ballisticCoefficient * bcScale;
    in.dragModel = m_dragModel;
    in.bulletWeight = m_bulletWeight;
    in.bulletDiameter = m_bulletDiameter;
    in.bulletLength = m_bulletLength;
    in.twistRate = m_twistRate;
    in.sightHeight = m_sightHeight;
    in.zeroRange = m_zeroRange;
    in.maxRange = maxRange;
    in.rangeStep = truingRowStep;
    in.temperature = truingTemperature;
    in.pressure = truingPressure;
    in.humidity = truingHumidity;
    in.windSpeed = 0;
    in.windDirection = 90;
    in.shootingAngle = 0;
    in.includeSpinDrift = false;
    in.includeCoriolis = false;
    return in;
}

double TruingModel::rmsOf(const std::vector<TrajectoryPoint>& rows) const {
    if (rows.empty()) return infinity;
    double sumOfSquares = 0;
    for (const Observation& o : m_observations) {
        // Nearest row by unrounded range; only a strictly nearer row replaces, so the earliest
        // of equally near rows wins.
        const TrajectoryPoint* nearest = &rows.front();
        double nearestDistance = std::abs(nearest->range - o.rangeYards);
        for (const TrajectoryPoint& row : rows) {
            const double distance = std::abs(row.range - o.rangeYards);
            if (distance < nearestDistance) {
                nearest = &row;
                nearestDistance = distance;
            }
        }
        const double error = nearest->dropMOA - o.dropMOA;
        sumOfSquares += error * error;
    }
    return std::sqrt(sumOfSquares / static_cast<double>(m_observations.size()));
}

double TruingModel::rmsError(double muzzleVelocity, double bcScale) const {
    if (m_observations.empty()) return infinity;
    return rmsOf(m_integrator(integratorInputs(muzzleVelocity, bcScale)));
}

void TruingModel::fitTruing() {
    const double mv0 = m_muzzleVelocity;
    const double before = rmsError(mv0, 1.0);
    double best = before;
    double bestVelocity = mv0;
    double bestFactor = 1.0;

    double velocityLower = mv0 - velocityHalfWindow;
    double velocityUpper = mv0 + velocityHalfWindow;
    double factorLower = m_trueBC ? lowestFactor : 1.0;
    double factorUpper = m_trueBC ? highestFactor : 1.0;
    std::vector<Candidate> grid;
    for (int pass = 0; pass < passes; ++pass) {
        const double velocityStep = (velocityUpper - velocityLower) / velocityDivisions;
        const double factorStep = m_trueBC ? (factorUpper - factorLower) / factorDivisions : 1.0;
        // Velocity-major, as walked; the candidates of one pass do not depend on each other.
        grid.clear();
        walk(velocityLower, velocityUpper, velocityStep, [&](double v) {
            walk(factorLower, factorUpper, factorStep, [&](double s) { grid.push_back({v, s, 0}); });
        });
        evaluate(grid);
        // Strictly smaller only, in walk order: the first of equal errors stays.
        for (const Candidate& c : grid) {
            if (c.rmsError < best) {
                best = c.rmsError;
                bestVelocity = c.muzzleVelocity;
                bestFactor = c.bcScale;
            }
        }
        velocityLower = bestVelocity - 2 * velocityStep;
        velocityUpper = bestVelocity + 2 * velocityStep;
        if (m_trueBC) {
            factorLower = bestFactor - 2 * factorStep;
            factorUpper = bestFactor + 2 * factorStep;
        }
    }
    assign(m_result, std::optional<Result>(Result{bestVelocity, bestFactor, before, best}));
}

void TruingModel::evaluate(std::vector<Candidate>& grid) const {
    if (!m_parallel || m_observations.empty()) {
        for (Candidate& c : grid) c.rmsError = rmsError(c.muzzleVelocity, c.bcScale);
        return;
    }
    // The built-in integrator flies a batch of candidates side by side, each exactly as alone;
    // the batches spread over the thread pool. Neither changes any result. A small grid is cut
    // into one batch per thread, a large one into batches that fill the lanes.
    const auto threads = static_cast<std::size_t>(std::max(1, QThreadPool::globalInstance()->maxThreadCount()));
    const std::size_t batchSize = std::clamp((grid.size() + threads - 1) / threads, std::size_t{1}, largestBatch);
    std::vector<std::span<Candidate>> batches;
    for (std::size_t first = 0; first < grid.size(); first += batchSize) {
        batches.emplace_back(grid.data() + first, std::min(batchSize, grid.size() - first));
    }
    QtConcurrent::blockingMap(batches, [this](std::span<Candidate> batch) {
        std::vector<BallisticEngine::Inputs> inputs;
        inputs.reserve(batch.size());
        for (const Candidate& c : batch) inputs.push_back(integratorInputs(c.muzzleVelocity, c.bcScale));
        const std::vector<std::vector<TrajectoryPoint>> rows = BallisticEngine::solveEach(inputs);
        for (std::size_t i = 0; i < batch.size(); ++i) batch[i].rmsError = rmsOf(rows[i]);
    });
}

}  // namespace kavrino
