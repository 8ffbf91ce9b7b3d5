#pragma once
// The observable state of the solve workflow: every input of a solve with its default, the
// last trajectory, the stability result, the transonic and subsonic ranges, the time the last
// solve took and an optional measured drag curve. solve() goes through the engine library and,
// when it gives no usable answer, through the built-in integrator.
#include "core/ballistics.h"
#include "core/chrono_import.h"  // DragCurve

#include <QJsonObject>
#include <QObject>
#include <QString>

#include <optional>
#include <vector>

namespace kavrino {

struct CatalogBullet;
struct CatalogCartridge;

class SolveModel final : public QObject {
    Q_OBJECT
public:
    // The initial inputs; does not solve.
    explicit SolveModel(QObject* parent = nullptr);

    // Inputs. Each setter writes its field and emits changed().
    QString bulletName() const { return m_bulletName; }  // display name of the load
    void setBulletName(const QString& name) { assign(m_bulletName, name); }
    double muzzleVelocity() const { return m_muzzleVelocity; }  // ft/s
    void setMuzzleVelocity(double feetPerSecond) { assign(m_muzzleVelocity, feetPerSecond); }
    double ballisticCoefficient() const { return m_ballisticCoefficient; }  // G1 or G7 BC
    void setBallisticCoefficient(double bc) { assign(m_ballisticCoefficient, bc); }
    DragModel dragModel() const { return m_dragModel; }
    void setDragModel(DragModel model) { assign(m_dragModel, model); }
    double bulletWeight() const { return m_bulletWeight; }  // grains
    void setBulletWeight(double grains) { assign(m_bulletWeight, grains); }
    double bulletDiameter() const { return m_bulletDiameter; }  // in
    void setBulletDiameter(double inches) { assign(m_bulletDiameter, inches); }
    double bulletLength() const { return m_bulletLength; }  // in
    void setBulletLength(double inches) { assign(m_bulletLength, inches); }
    double twistRate() const { return m_twistRate; }  // in per turn; sign = twist hand
    void setTwistRate(double inchesPerTurn) { assign(m_twistRate, inchesPerTurn); }
    double sightHeight() const { return m_sightHeight; }  // in
    void setSightHeight(double inches) { assign(m_sightHeight, inches); }
    double zeroRange() const { return m_zeroRange; }  // yd
    void setZeroRange(double yards) { assign(m_zeroRange, yards); }
    double temperature() const { return m_temperature; }  // °F
    void setTemperature(double fahrenheit) { assign(m_temperature, fahrenheit); }
    double pressure() const { return m_pressure; }  // inHg
    void setPressure(double inchesOfMercury) { assign(m_pressure, inchesOfMercury); }
    double altitude() const { return m_altitude; }  // ft; sent to the library, which does not use it
    void setAltitude(double feet) { assign(m_altitude, feet); }
    double humidity() const { return m_humidity; }  // percent
    void setHumidity(double percent) { assign(m_humidity, percent); }
    double windSpeed() const { return m_windSpeed; }  // mph
    void setWindSpeed(double mph) { assign(m_windSpeed, mph); }
    double windDirection() const { return m_windDirection; }  // degrees
    void setWindDirection(double degrees) { assign(m_windDirection, degrees); }
    double shootingAngle() const { return m_shootingAngle; }  // degrees
    void setShootingAngle(double degrees) { assign(m_shootingAngle, degrees); }
    double maxRange() const { return m_maxRange; }  // yd
    void setMaxRange(double yards) { assign(m_maxRange, yards); }
    double rangeStep() const { return m_rangeStep; }  // yd
    void setRangeStep(double yards) { assign(m_rangeStep, yards); }
    bool includeSpinDrift() const { return m_includeSpinDrift; }
    void setIncludeSpinDrift(bool on) { assign(m_includeSpinDrift, on); }
    bool includeCoriolis() const { return m_includeCoriolis; }
    void setIncludeCoriolis(bool on) { assign(m_includeCoriolis, on); }
    double latitude() const { return m_latitude; }  // degrees
    void setLatitude(double degrees) { assign(m_latitude, degrees); }
    double targetAzimuth() const { return m_targetAzimuth; }  // degrees
    void setTargetAzimuth(double degrees) { assign(m_targetAzimuth, degrees); }

    // Results, replaced by solve().
    const std::vector<TrajectoryPoint>& trajectory() const { return m_trajectory; }
    double lastSolveMs() const { return m_lastSolveMs; }  // duration of the last solve
    double stabilitySg() const { return m_stabilitySg; }  // from the last library solve
    QString stabilityRating() const { return m_stabilityRating; }
    std::optional<double> transonicRange() const { return m_transonicRange; }  // yd
    std::optional<double> subsonicRange() const { return m_subsonicRange; }    // yd

    // A measured drag curve ([Mach, Cd] rows) and its display name; honoured by the library
    // only. Set and cleared by the import pane.
    const std::optional<DragCurve>& customCurve() const { return m_customCurve; }
    void setCustomCurve(std::optional<DragCurve> curve) { assign(m_customCurve, std::move(curve)); }
    const std::optional<QString>& customCurveName() const { return m_customCurveName; }
    void setCustomCurveName(std::optional<QString> name) { assign(m_customCurveName, std::move(name)); }

    // The library request: 22 keys from the current inputs in their stored units, plus
    // "customCurve" when a curve is loaded (then "dragModel" is "Custom").
    QJsonObject buildRequest() const;

    // One synchronous solve. The library's answer replaces the trajectory, stability and zone
    // ranges; when it gives none, the built-in integrator replaces the trajectory only. Sets
    // lastSolveMs either way and emits changed() once.
    void solve();

    // Set the measured drag curve and its display name (absent both: clear the curve), then
    // solve: one changed() for the whole change, as the import pane loads or clears a curve.
    void applyCustomCurve(std::optional<DragCurve> curve, std::optional<QString> name);
    // Set the muzzle velocity and solve: one changed(), as the import pane applies an average.
    void applyMuzzleVelocity(double feetPerSecond);

    // Copy a catalog bullet (name, weight, diameter, length when known, BC and drag model)
    // into the inputs, then solve. The muzzle velocity is left as it is.
    void apply(const CatalogBullet& bullet);
    // Copy a factory load (name, weight, diameter, muzzle velocity, BC and drag model) into
    // the inputs, then solve.
    void apply(const CatalogCartridge& cartridge);

signals:
    void changed();

private:
    template <typename T, typename V>
    void assign(T& field, V&& value) {  // the one place that writes an input and emits
        field = std::forward<V>(value);
        emit changed();
    }
    // The BC rule of both apply operations: a positive G7 BC wins, else the G1 BC or 0.5.
    void applyBallisticCoefficient(std::optional<double> g7BC, std::optional<double> g1BC);

    QString m_bulletName;
    double m_muzzleVelocity = 2650.0;
    double m_ballisticCoefficient = 0.462;
    DragModel m_dragModel = DragModel::G1;
    double m_bulletWeight = 168.0;
    double m_bulletDiameter = 0.308;
    double m_bulletLength = 1.24;
    double m_twistRate = 11.25;
    double m_sightHeight = 1.8;
    double m_zeroRange = 100.0;
    double m_temperature = 59.0;
    double m_pressure = 29.92;
    double m_altitude = 0.0;
    double m_humidity = 50.0;
    double m_windSpeed = 0.0;
    double m_windDirection = 90.0;
    double m_shootingAngle = 0.0;
    double m_maxRange = 1000.0;
    double m_rangeStep = 100.0;
    bool m_includeSpinDrift = true;
    bool m_includeCoriolis = false;
    double m_latitude = 45.0;
    double m_targetAzimuth = 0.0;
    std::vector<TrajectoryPoint> m_trajectory;
    double m_lastSolveMs = 0.0;
    double m_stabilitySg = 0.0;
    QString m_stabilityRating;
    std::optional<double> m_transonicRange;
    std::optional<double> m_subsonicRange;
    std::optional<DragCurve> m_customCurve;
    std::optional<QString> m_customCurveName;
};

}  // namespace kavrino
