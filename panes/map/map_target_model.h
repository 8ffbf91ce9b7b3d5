#pragma once
// The map pane's state as an observable model: the two positions stay as given; the two
// elevations change as the user commits them, each change emitting changed(). The three
// figures are derived on every read, so they always follow the state.
#include "panes/map/map_targeting.h"

#include <QObject>

namespace kavrino {

class MapTargetModel final : public QObject {
    Q_OBJECT
public:
    explicit MapTargetModel(const MapTargetState& initial, QObject* parent = nullptr);

    const GeoCoordinate& shooter() const { return m_state.shooter; }
    const GeoCoordinate& target() const { return m_state.target; }
    double shooterElevation() const { return m_state.shooterElevation; }  // ft
    double targetElevation() const { return m_state.targetElevation; }    // ft
    // The region the map starts at; the map's own camera moves on from there.
    const GeoRegion& initialCamera() const { return m_state.camera; }

    // Unchanged values (NaN included) emit nothing.
    void setShooterElevation(double feet);
    void setTargetElevation(double feet);

    double distanceYards() const;
    double bearingDegrees() const;
    double lookAngleDegrees() const;

signals:
    void changed();

private:
    void assign(double& field, double value);

    MapTargetState m_state;
};

}  // namespace kavrino
