#pragma once
// Truing: fits the muzzle velocity, and optionally a scale on the ballistic coefficient, so that
// the predicted elevation come-ups match come-ups observed at known ranges. Predictions come
// from the application's own integrator under fixed standard air and no wind.
#include "core/ballistic_engine.h"
#include "core/ballistics.h"

#include <QObject>
#include <QUuid>

#include <functional>
#include <optional>
#include <vector>

namespace kavrino {

class TruingModel final : public QObject {
    Q_OBJECT
public:
    // One observed come-up.
    struct Observation {
        QUuid id = QUuid::createUuid();
        double rangeYards = 0;  // yd
        double dropMOA = 0;     // MOA; positive = the bullet hit below the line of sight

        bool operator==(const Observation&) const = default;
    };

    // The outcome of a fit; values unrounded.
    struct Result {
        double muzzleVelocity = 0;  // trued velocity, ft/s
        double bcScale = 1;         // factor applied to ballisticCoefficient
        double rmsBefore = 0;       // RMS error of the untrued load, MOA
        double rmsAfter = 0;        // RMS error of the trued load, MOA

        bool operator==(const Result&) const = default;
    };

    // The trajectory source; tests hand in one that counts or records its calls.
    using Integrator = std::function<std::vector<TrajectoryPoint>(const BallisticEngine::Inputs&)>;

    // Fits with the built-in integrator, flying each pass's candidates in batches side by side
    // and spreading the batches over the global thread pool (the integrator is pure; the
    // result is the same as a walk in order).
    explicit TruingModel(QObject* parent = nullptr);
    // Fits with `integrator`, called on the calling thread in walk order.
    explicit TruingModel(Integrator integrator, QObject* parent = nullptr);

    double muzzleVelocity() const { return m_muzzleVelocity; }              // ft/s
    double ballisticCoefficient() const { return m_ballisticCoefficient; }
    DragModel dragModel() const { return m_dragModel; }
    double bulletWeight() const { return m_bulletWeight; }                  // grains
    double sightHeight() const { return m_sightHeight; }                    // in
    double zeroRange() const { return m_zeroRange; }                        // yd
    double twistRate() const { return m_twistRate; }                        // in per turn
    double bulletDiameter() const { return m_bulletDiameter; }              // in
    double bulletLength() const { return m_bulletLength; }                  // in
    const std::vector<Observation>& observations() const { return m_observations; }
    bool trueBC() const { return m_trueBC; }
    const std::optional<Result>& result() const { return m_result; }

    void setMuzzleVelocity(double feetPerSecond) { assign(m_muzzleVelocity, feetPerSecond); }
    void setBallisticCoefficient(double bc) { assign(m_ballisticCoefficient, bc); }
    void setDragModel(DragModel model) { assign(m_dragModel, model); }
    void setBulletWeight(double grains) { assign(m_bulletWeight, grains); }
    void setSightHeight(double inches) { assign(m_sightHeight, inches); }
    void setZeroRange(double yards) { assign(m_zeroRange, yards); }
    void setTwistRate(double inchesPerTurn) { assign(m_twistRate, inchesPerTurn); }
    void setBulletDiameter(double inches) { assign(m_bulletDiameter, inches); }
    void setBulletLength(double inches) { assign(m_bulletLength, inches); }
    void setObservations(std::vector<Observation> observations) { assign(m_observations, std::move(observations)); }
    void setTrueBC(bool on) { assign(m_trueBC, on); }

    // Appends an observation at 500 yd, 11.7 MOA.
    void addObservation();
    // Removes every observation whose id is `id`, keeping the order of the rest.
    void removeObservation(const QUuid& id);
    // Edits one observation in place (the pane's number fields write through here).
    void setObservationRange(const QUuid& id, double yards);
    void setObservationDrop(const QUuid& id, double moa);

    // RMS come-up error in MOA of one candidate (velocity in ft/s, factor on the BC); +∞ with
    // no observations or when the candidate yields no trajectory rows.
    double rmsError(double muzzleVelocity, double bcScale) const;

    // Grid search in three shrinking passes around the current velocity (and factor 1.0 when
    // trueBC is on); publishes `result`. Up to 1 + 3 × 21 × 11 integrations.
    void fitTruing();

signals:
    void changed();

private:
    struct Candidate {
        double muzzleVelocity;  // ft/s
        double bcScale;
        double rmsError;        // MOA, filled by evaluate()
    };
    void evaluate(std::vector<Candidate>& grid) const;
    // What the integrator is given for one candidate, and the RMS error of its rows.
    BallisticEngine::Inputs integratorInputs(double muzzleVelocity, double bcScale) const;
    double rmsOf(const std::vector<TrajectoryPoint>& rows) const;

    template <typename T>
    void assign(T& field, T value) {
        field = std::move(value);
        emit changed();
    }

    Integrator m_integrator;
    bool m_parallel = false;
    double m_muzzleVelocity = 2650;
    double m_ballisticCoefficient = 0.462;
    DragModel m_dragModel = DragModel::G1;
    double m_bulletWeight = 168;
    double m_sightHeight = 1.8;
    double m_zeroRange = 100;
    double m_twistRate = 11.25;
    double m_bulletDiameter = 0.308;
    double m_bulletLength = 1.215;
    std::vector<Observation> m_observations;
    bool m_trueBC = false;
    std::optional<Result> m_result;
};

}  // namespace kavrino
