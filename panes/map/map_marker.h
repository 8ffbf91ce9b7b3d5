#pragma once
// A position on the map: a balloon in its tint whose point touches the position, with a white
// dot inside and the title under it. Assistive technology reads the title as its name and the
// coordinates as its description. Mouse events pass through to the map below.
#include "panes/map/map_targeting.h"

#include <QColor>
#include <QWidget>

namespace kavrino {

class MapMarker final : public QWidget {
    Q_OBJECT
public:
    MapMarker(const QString& title, const QColor& tint, QWidget* parent = nullptr);

    const QString& title() const { return m_title; }
    const QColor& tint() const { return m_tint; }
    const GeoCoordinate& position() const { return m_position; }
    void setPosition(const GeoCoordinate& position);

    // The balloon's point in the marker's own coordinates: placed on the position.
    QPoint anchor() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_title;
    QColor m_tint;
    GeoCoordinate m_position;
};

}  // namespace kavrino
