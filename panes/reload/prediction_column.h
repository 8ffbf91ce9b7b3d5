#pragma once
// The right side of the reload pane, a scrolling column: the header with the engine badge (and
// "OVER SAAMI" when the prediction is over the case maximum), the four prediction tiles, the
// velocity and pressure charts against the charge, the load-data card and the caution line.
#include <QScrollArea>

#include <array>

class QHBoxLayout;
class QLabel;

namespace kavrino {

class Badge;
class ChargeChart;
class PanelCard;
class ReloadSelection;
class SectionLabel;
class StatTile;

class PredictionColumn final : public QScrollArea {
    Q_OBJECT
public:
    explicit PredictionColumn(ReloadSelection& selection, QWidget* parent = nullptr);

    void refresh();

    ChargeChart* velocityChart() const { return m_velocityChart; }
    ChargeChart* pressureChart() const { return m_pressureChart; }

private:
    QWidget* chartCard(const QString& title, const QString& unit, ChargeChart* chart, const char* objectName);
    QWidget* buildLoadDataCard();
    void refreshCharts();
    void refreshLoadData();

    ReloadSelection& m_selection;
    Badge* m_overBadge = nullptr;
    std::array<StatTile*, 4> m_tiles{};
    ChargeChart* m_velocityChart = nullptr;
    ChargeChart* m_pressureChart = nullptr;
    PanelCard* m_loadDataCard = nullptr;
    SectionLabel* m_loadDataTitle = nullptr;
    QHBoxLayout* m_loadDataCells = nullptr;
    QString m_loadDataShownFor;  // id of the load whose cells are shown
};

}  // namespace kavrino
