#include "panes/map/map_target_view.h"

#include "app/theme/components/number_field.h"
#include "app/theme/components/plain_label.h"
#include "app/theme/palette.h"
#include "app/theme/panel_decoration.h"
#include "app/theme/typeface.h"
#include "panes/map/map_canvas.h"
#include "panes/map/map_target_model.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kavrino {
namespace {

constexpr int kPanelWidth = 300;
constexpr int kElevationFieldWidth = 90;
constexpr int kRowSpacing = 8;  // the default spacing between a row's label and its value

// The platform's text styles the panel uses, in points.
QFont title2Font() { return uiFont(17, QFont::Bold); }
QFont title3Font() { return uiFont(15, QFont::Bold); }
QFont bodyFont() { return uiFont(13); }
QFont captionFont(QFont::Weight weight = QFont::Normal) { return uiFont(10, weight); }

}  // namespace

MapTargetView::MapTargetView(const MapTargetState& initial, const TileSource& tiles, QWidget* parent)
    : WorkspacePane(parent), m_model(new MapTargetModel(initial, this)) {
    setObjectName(QStringLiteral("mapTargetView"));
    fillWithBackground(*this);

    m_canvas = new MapCanvas(m_model->initialCamera(), tiles);
    m_canvas->setPositions(m_model->shooter(), m_model->target());

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(16);
    layout->addWidget(buildPanel(), 0, Qt::AlignTop);
    layout->addWidget(m_canvas, 1);

    connect(m_model, &MapTargetModel::changed, this, &MapTargetView::refresh);
    refresh();
}

QWidget* MapTargetView::buildPanel() {
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("mapPanelContent"));
    content->setFixedWidth(kPanelWidth);
    auto* stack = new QVBoxLayout(content);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(10);

    auto* title = plainLabel(tr("GIS Targeting"), title2Font(), Palette::textPrimary());
    title->setObjectName(QStringLiteral("mapTitle"));
    stack->addWidget(title);

    auto addValueRow = [stack](const QString& label, const char* objectName) {
        auto* row = new QHBoxLayout;
        row->setSpacing(kRowSpacing);
        row->addWidget(plainLabel(label, bodyFont(), Palette::textSecondary()));
        row->addStretch(1);
        auto* value = plainLabel(QString(), title3Font(), Palette::textPrimary());
        value->setObjectName(QString::fromLatin1(objectName));
        // The figure is the label's accessible name; what it measures describes it.
        value->setAccessibleDescription(label);
        row->addWidget(value);
        stack->addLayout(row);
        return value;
    };
    m_distance = addValueRow(tr("Distance"), "distanceValue");
    m_bearing = addValueRow(tr("Bearing"), "bearingValue");
    m_lookAngle = addValueRow(tr("Look angle"), "lookAngleValue");

    auto* divider = new QFrame;
    divider->setObjectName(QStringLiteral("mapPanelDivider"));
    divider->setFixedHeight(1);
    divider->setAutoFillBackground(true);
    QPalette dividerColours = divider->palette();
    dividerColours.setColor(QPalette::Window, Palette::stroke());
    divider->setPalette(dividerColours);
    stack->addWidget(divider);

    stack->addWidget(plainLabel(tr("ELEVATIONS"), captionFont(QFont::Bold), Palette::accent()));

    auto addElevationRow = [this, stack](const QString& label, const QString& accessibleName,
                                         const char* objectName, void (MapTargetModel::*write)(double)) {
        auto* row = new QHBoxLayout;
        row->setSpacing(kRowSpacing);
        row->addWidget(plainLabel(label, calloutFont(), Palette::textSecondary()));
        row->addStretch(1);
        auto* field = new NumberField;
        field->setObjectName(QString::fromLatin1(objectName));
        field->setAccessibleName(accessibleName);
        field->setFixedWidth(kElevationFieldWidth);
        connect(field, &NumberField::valueCommitted, this,
                [model = m_model, write](double feet) { (model->*write)(feet); });
        row->addWidget(field);
        stack->addLayout(row);
        return field;
    };
    m_shooterElevation = addElevationRow(tr("Shooter (ft)"), tr("Shooter elevation (ft)"),
                                         "shooterElevationField", &MapTargetModel::setShooterElevation);
    m_targetElevation = addElevationRow(tr("Target (ft)"), tr("Target elevation (ft)"),
                                        "targetElevationField", &MapTargetModel::setTargetElevation);

    auto* tip = plainLabel(tr("Tip: a future build pulls terrain elevation automatically; for now "
                             "enter from your map source."),
                          captionFont(), Palette::textSecondary());
    tip->setObjectName(QStringLiteral("mapTip"));
    tip->setWordWrap(true);
    stack->addWidget(tip);

    PanelCard* card = panelDecoration(content, 16, 14);
    card->setObjectName(QStringLiteral("mapPanel"));
    card->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Maximum);
    return card;
}

void MapTargetView::refresh() {
    m_distance->setText(distanceText(m_model->distanceYards()));
    m_bearing->setText(bearingText(m_model->bearingDegrees()));
    m_lookAngle->setText(lookAngleText(m_model->lookAngleDegrees()));
    m_shooterElevation->setValue(m_model->shooterElevation());
    m_targetElevation->setValue(m_model->targetElevation());
}

}  // namespace kavrino
