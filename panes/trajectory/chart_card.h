#pragma once
// A chart on a card: a header with the title and, right after it on the same baseline, a
// caption-sized subtitle; below it the chart at a fixed height. Set on the panel decoration
// with padding 16 and corner radius 14.
#include <QWidget>

class QLabel;

namespace kavrino {

class PanelCard;

class ChartCard final : public QWidget {
    Q_OBJECT
public:
    // Takes ownership of `chart` and fixes its height to `chartHeight` points.
    ChartCard(const QString& title, const QString& subtitle, QWidget* chart, int chartHeight,
              QWidget* parent = nullptr);

    QLabel* title() const { return m_title; }
    QLabel* subtitle() const { return m_subtitle; }
    QWidget* chart() const { return m_chart; }

private:
    QLabel* m_title;
    QLabel* m_subtitle;
    QWidget* m_chart;
};

}  // namespace kavrino
