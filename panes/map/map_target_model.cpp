#include "panes/map/map_target_model.h"

#include <cmath>

namespace kavrino {

MapTargetModel::MapTargetModel(const MapTargetState& initial, QObject* parent)
    : QObject(parent), m_state(initial) {}

void MapTargetModel::setShooterElevation(double feet) { assign(m_state.shooterElevation, feet); }

void MapTargetModel::setTargetElevation(double feet) { assign(m_state.targetElevation, feet); }

double MapTargetModel::distanceYards() const {
    return kavrino::distanceYards(m_state.shooter, m_state.target);
}

double MapTargetModel::bearingDegrees() const {
    return kavrino::bearingDegrees(m_state.shooter, m_state.target);
}

double MapTargetModel::lookAngleDegrees() const {
    return kavrino::lookAngleDegrees(distanceYards(), m_state.shooterElevation,
                                     m_state.targetElevation);
}

void MapTargetModel::assign(double& field, double value) {
    if (field == value || (std::isnan(field) && std::isnan(value))) return;
    field = value;
    emit changed();
}

}  // namespace kavrino
