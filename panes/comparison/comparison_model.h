#pragma once
// Load comparison: several loads fired under one shared set of conditions, each with its
// trajectory from the application's own integrator, and the whole comparison as CSV text.
#include "core/ballistic_engine.h"
#include "core/ballistics.h"

#include <QObject>
#include <QString>
#include <QUuid>

#include <functional>
#include <vector>

namespace kavrino {

struct CatalogBullet;
struct CatalogCartridge;

class ComparisonModel final : public QObject {
    Q_OBJECT
public:
    // One compared load.
    struct Load {
        QUuid id = QUuid::createUuid();
        QString name;                         // bullet label or cartridge name
        double muzzleVelocity = 0;            // ft/s
        double bc = 0;                        // BC of the standard model named by dragModel
        DragModel dragModel = DragModel::G1;  // G1 or G7
        double weight = 0;                    // grains
        double diameter = 0;                  // in
        double length = 0;                    // in
        std::vector<TrajectoryPoint> trajectory;  // rows of the last recompute

        bool operator==(const Load&) const = default;
    };

    // The trajectory source; tests hand in one that records its calls.
    using Integrator = std::function<std::vector<TrajectoryPoint>(const BallisticEngine::Inputs&)>;

    // Compares with the built-in integrator, every load's flights side by side.
    explicit ComparisonModel(QObject* parent = nullptr);
    // Compares with `integrator`, called once per load in order.
    explicit ComparisonModel(Integrator integrator, QObject* parent = nullptr);

    const std::vector<Load>& loads() const { return m_loads; }
    double sightHeight() const { return m_sightHeight; }      // in
    double zeroRange() const { return m_zeroRange; }          // yd
    double maxRange() const { return m_maxRange; }            // yd
    double rangeStep() const { return m_rangeStep; }          // yd
    double windSpeed() const { return m_windSpeed; }          // mph
    double windDirection() const { return m_windDirection; }  // degrees; 90 = full-value crosswind
    double temperature() const { return m_temperature; }      // °F
    double twistRate() const { return m_twistRate; }          // in per turn

    void setLoads(std::vector<Load> loads) { assign(m_loads, std::move(loads)); }
    void setSightHeight(double inches) { assign(m_sightHeight, inches); }
    void setZeroRange(double yards) { assign(m_zeroRange, yards); }
    void setMaxRange(double yards) { assign(m_maxRange, yards); }
    void setRangeStep(double yards) { assign(m_rangeStep, yards); }
    void setWindSpeed(double mph) { assign(m_windSpeed, mph); }
    void setWindDirection(double degrees) { assign(m_windDirection, degrees); }
    void setTemperature(double fahrenheit) { assign(m_temperature, fahrenheit); }
    void setTwistRate(double inchesPerTurn) { assign(m_twistRate, inchesPerTurn); }

    // Appends a load built from a catalog bullet fired at `muzzleVelocity` ft/s, then recomputes.
    void add(const CatalogBullet& bullet, double muzzleVelocity);
    // Appends a load built from a factory load, then recomputes.
    void add(const CatalogCartridge& cartridge);
    // Removes every load whose id is `id`, keeping the order of the rest; recomputes nothing.
    void removeLoad(const QUuid& id);

    // Integrates every load under the shared conditions; one changed() per load.
    void recomputeComparison();

    // The range of every row of the first load's trajectory, in row order.
    std::vector<double> ranges() const;

    // "range_yd" and two columns per load (come-up in MOA, wind drift in mil), one line per
    // row of the first load, joined by line feeds with no line end after the last line.
    QString comparisonCSV() const;

signals:
    void changed();

private:
    template <typename T>
    void assign(T& field, T value) {
        field = std::move(value);
        emit changed();
    }

    Integrator m_integrator;  // empty: BallisticEngine::solveEach
    std::vector<Load> m_loads;
    double m_sightHeight = 1.8;
    double m_zeroRange = 100;
    double m_maxRange = 1000;
    double m_rangeStep = 100;
    double m_windSpeed = 10;
    double m_windDirection = 90;
    double m_temperature = 59;
    double m_twistRate = 11.25;
};

}  // namespace kavrino
