#include "panes/reload/prediction_column.h"

#include "app/theme/components/badge.h"
#include "app/theme/components/plain_label.h"
#include "app/theme/components/section_label.h"
#include "app/theme/components/stat_tile.h"
#include "app/theme/components/thin_scroll_bar.h"
#include "app/theme/palette.h"
#include "app/theme/panel_decoration.h"
#include "app/theme/symbol_icon.h"
#include "app/theme/typeface.h"
#include "panes/reload/charge_chart.h"
#include "panes/reload/reload_selection.h"
#include "panes/reload/reload_texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace kavrino {

namespace {

constexpr int kMinimumWidth = 540;
constexpr int kChartHeight = 190;
constexpr int kCaptionSymbolSize = 11;

// The interior-ballistics engine that makes the predictions.
const char* const kEngineName = "ENERGY BALANCE";

QColor toneColour(reload_texts::Tone tone) {
    switch (tone) {
    case reload_texts::Tone::accentBright: return Palette::accentBright();
    case reload_texts::Tone::primary: return Palette::textPrimary();
    case reload_texts::Tone::red: return Palette::red();
    case reload_texts::Tone::green: return Palette::green();
    }
    return Palette::textPrimary();
}

const char* const kTileNames[] = {"muzzleVelocityTile", "peakPressureTile", "caseFillTile", "saamiMarginTile"};

// A label, upper-cased and small, over a value.
QWidget* dataCell(const reload_texts::Cell& cell) {
    auto* widget = new QWidget;
    auto* stack = new QVBoxLayout(widget);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(3);
    stack->addWidget(plainLabel(cell.label.toUpper(), uiFont(9.5, QFont::DemiBold, 0.6), Palette::textTertiary()));
    stack->addWidget(plainLabel(cell.value, uiFont(12, QFont::Medium), Palette::textPrimary()));
    widget->setAccessibleName(cell.label);
    return widget;
}

}  // namespace

PredictionColumn::PredictionColumn(ReloadSelection& selection, QWidget* parent)
    : QScrollArea(parent), m_selection(selection) {
    setObjectName(QStringLiteral("predictionColumn"));
    preparePaneScrollArea(*this);
    setMinimumWidth(kMinimumWidth);

    auto* column = new QWidget;
    column->setObjectName(QStringLiteral("predictionContent"));
    auto* stack = new QVBoxLayout(column);
    stack->setContentsMargins(16, 16, 16, 16);
    stack->setSpacing(12);

    auto* header = new QHBoxLayout;
    header->setSpacing(10);
    auto* title = plainLabel(tr("Predicted performance"), uiFont(15, QFont::DemiBold), Palette::textPrimary());
    title->setObjectName(QStringLiteral("predictionTitle"));
    auto* engine = new Badge(QString::fromLatin1(kEngineName), Palette::orange());
    engine->setObjectName(QStringLiteral("engineBadge"));
    m_overBadge = new Badge(QStringLiteral("OVER SAAMI"), Palette::red());
    m_overBadge->setObjectName(QStringLiteral("overSaamiBadge"));
    header->addWidget(title, 0, Qt::AlignVCenter);
    header->addWidget(engine, 0, Qt::AlignVCenter);
    header->addStretch(1);
    header->addWidget(m_overBadge, 0, Qt::AlignVCenter);
    stack->addLayout(header);

    auto* tiles = new QHBoxLayout;
    tiles->setSpacing(12);
    const auto empty = reload_texts::predictionTiles(std::nullopt);
    for (std::size_t i = 0; i < m_tiles.size(); ++i) {
        m_tiles[i] = new StatTile(empty[i].label, empty[i].value, toneColour(empty[i].tone));
        m_tiles[i]->setObjectName(QString::fromLatin1(kTileNames[i]));
        tiles->addWidget(m_tiles[i], 1, Qt::AlignVCenter);
    }
    stack->addLayout(tiles);

    m_velocityChart = new ChargeChart({tr("Muzzle velocity vs charge"), QStringLiteral("Velocity (fps)"),
                                       reload_texts::velocity, Palette::accent(), true});
    stack->addWidget(chartCard(tr("Muzzle velocity vs charge"), tr("fps"), m_velocityChart, "velocityChart"));
    m_pressureChart = new ChargeChart({tr("Peak chamber pressure vs charge"), QStringLiteral("Pressure (psi)"),
                                       reload_texts::pressure, Palette::orange(), false});
    stack->addWidget(chartCard(tr("Peak chamber pressure vs charge"), tr("psi"), m_pressureChart, "pressureChart"));

    stack->addWidget(buildLoadDataCard());

    auto* caution = new QHBoxLayout;
    caution->setSpacing(6);
    auto* symbol = new QLabel;
    symbol->setPixmap(tintedPixmap(symbolIcon(QStringLiteral("exclamationmark.triangle")), Palette::textTertiary(),
                                   kCaptionSymbolSize, std::max(2.0, devicePixelRatioF())));
    symbol->setAccessibleName(tr("Caution"));
    auto* text = plainLabel(tr("Predictions are model estimates, not a substitute for published load data. Always "
                               "start at the published start charge and work up while watching for pressure signs."),
                            uiFont(10), Palette::textTertiary());
    text->setObjectName(QStringLiteral("cautionLabel"));
    text->setWordWrap(true);
    caution->addWidget(symbol, 0, Qt::AlignTop);
    caution->addWidget(text, 1);
    stack->addLayout(caution);
    stack->addStretch(1);

    setPaneScrollContent(*this, column);
    refresh();
}

QWidget* PredictionColumn::chartCard(const QString& title, const QString& unit, ChargeChart* chart,
                                     const char* objectName) {
    auto* content = new QWidget;
    auto* stack = new QVBoxLayout(content);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(10);
    auto* row = new QHBoxLayout;
    row->addWidget(new SectionLabel(title));
    row->addStretch(1);
    row->addWidget(plainLabel(unit, uiFont(10), Palette::textTertiary()));
    stack->addLayout(row);
    chart->setObjectName(QString::fromLatin1(objectName));
    chart->setFixedHeight(kChartHeight);
    stack->addWidget(chart);
    PanelCard* card = panelDecoration(content, 16, 14);
    card->setObjectName(QString::fromLatin1(objectName) + QStringLiteral("Card"));
    return card;
}

QWidget* PredictionColumn::buildLoadDataCard() {
    auto* content = new QWidget;
    auto* stack = new QVBoxLayout(content);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(8);
    m_loadDataTitle = new SectionLabel(QString());
    m_loadDataTitle->setObjectName(QStringLiteral("loadDataTitle"));
    m_loadDataTitle->setWordWrap(true);
    stack->addWidget(m_loadDataTitle);
    m_loadDataCells = new QHBoxLayout;
    m_loadDataCells->setSpacing(24);
    m_loadDataCells->addStretch(1);
    stack->addLayout(m_loadDataCells);
    m_loadDataCard = panelDecoration(content, 16, 14);
    m_loadDataCard->setObjectName(QStringLiteral("loadDataCard"));
    return m_loadDataCard;
}

void PredictionColumn::refresh() {
    const std::optional<Ballistics::Prediction> prediction = m_selection.predict();
    m_overBadge->setVisible(prediction && prediction->overMax);
    const auto tiles = reload_texts::predictionTiles(prediction);
    for (std::size_t i = 0; i < m_tiles.size(); ++i) {
        m_tiles[i]->setValue(tiles[i].value);
        m_tiles[i]->setAccent(toneColour(tiles[i].tone));
    }
    refreshCharts();
    refreshLoadData();
}

void PredictionColumn::refreshCharts() {
    const LoadOption* option = m_selection.selectedOption();
    double xMin = 0;
    double xMax = 1;
    if (option && option->load.startChargeGr && option->load.maxChargeGr &&
        *option->load.startChargeGr < *option->load.maxChargeGr) {
        xMin = *option->load.startChargeGr;
        xMax = *option->load.maxChargeGr;
    }
    const std::vector<Ballistics::SweepPoint> sweep = m_selection.chargeSweep();
    QList<QPointF> velocities;
    QList<QPointF> pressures;
    double slowest = INFINITY;
    for (const Ballistics::SweepPoint& point : sweep) {
        velocities << QPointF(point.chargeGr, point.velocityFps);
        slowest = std::min(slowest, point.velocityFps);
        if (point.pressurePsi) pressures << QPointF(point.chargeGr, *point.pressurePsi);
    }
    m_velocityChart->setCurve(velocities, xMin, xMax, sweep.empty() ? 0.0 : 0.995 * slowest);
    m_pressureChart->setCurve(pressures, xMin, xMax);

    const std::optional<CaseInfo> info = m_selection.caseInfo();
    const std::optional<double> limit = info ? info->maxPressurePsi : std::nullopt;
    m_pressureChart->setLimit(limit, limit ? reload_texts::saamiRule(*limit) : QString());

    const std::optional<Ballistics::Prediction> prediction = m_selection.predict();
    const double charge = m_selection.chargeGr();
    if (prediction) {
        m_velocityChart->setMarker(charge, prediction->velocityFps, Palette::accentBright());
    } else {
        m_velocityChart->setMarker(std::nullopt, std::nullopt, Palette::accentBright());
    }
    const bool over = prediction && prediction->overMax;
    if (prediction && prediction->pressurePsi) {
        m_pressureChart->setMarker(charge, prediction->pressurePsi, over ? Palette::red() : Palette::orange());
    } else {
        m_pressureChart->setMarker(std::nullopt, std::nullopt, Palette::orange());
    }
}

void PredictionColumn::refreshLoadData() {
    const LoadOption* option = m_selection.selectedOption();
    const bool shown = option && option->load.startVelocityFps && option->load.maxVelocityFps;
    m_loadDataCard->setVisible(shown);
    if (!shown) {
        m_loadDataShownFor.clear();
        return;
    }
    if (m_loadDataShownFor == option->load.id) return;
    m_loadDataShownFor = option->load.id;
    // The source's own text says what the data are (model-derived examples say so); the title
    // claims nothing more than "load data".
    m_loadDataTitle->setLabelText(reload_texts::loadDataTitle(m_selection.sourceText(option->load)));
    while (m_loadDataCells->count() > 1) {
        QLayoutItem* item = m_loadDataCells->takeAt(0);
        delete item->widget();
        delete item;
    }
    const std::vector<reload_texts::Cell> cells = reload_texts::loadDataCells(option->load);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        QWidget* cell = dataCell(cells[i]);
        cell->setObjectName(QStringLiteral("loadDataCell%1").arg(i));
        m_loadDataCells->insertWidget(int(i), cell);
    }
}

}  // namespace kavrino
