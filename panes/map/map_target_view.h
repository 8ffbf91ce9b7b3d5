#pragma once
// The map targeting pane: at the left a panel with the distance, bearing and look angle from
// the shooter to the target and the two elevation fields; at the right the map with both
// positions and the line between them. The positions stay as the pane was given them; the
// user changes the elevations and moves the map.
#include "app/workspace/workspace_pane.h"

class QLabel;

namespace kavrino {

class MapCanvas;
class MapTargetModel;
class NumberField;
struct MapTargetState;
struct TileSource;

class MapTargetView final : public WorkspacePane {
    Q_OBJECT
public:
    MapTargetView(const MapTargetState& initial, const TileSource& tiles, QWidget* parent = nullptr);

    MapTargetModel& model() const { return *m_model; }
    MapCanvas* canvas() const { return m_canvas; }

private:
    QWidget* buildPanel();
    void refresh();

    MapTargetModel* m_model = nullptr;
    MapCanvas* m_canvas = nullptr;
    QLabel* m_distance = nullptr;
    QLabel* m_bearing = nullptr;
    QLabel* m_lookAngle = nullptr;
    NumberField* m_shooterElevation = nullptr;
    NumberField* m_targetElevation = nullptr;
};

}  // namespace kavrino
