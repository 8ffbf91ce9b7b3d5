#include "app/theme/components/dark_chart.h"

#include "app/theme/palette.h"

#include <QAbstractAxis>
#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>

namespace kavrino {

void applyDarkChart(QChart& chart) {
    chart.setBackgroundVisible(false);
    chart.setPlotAreaBackgroundVisible(false);
    chart.setBackgroundRoundness(0);
    chart.setMargins(QMargins());
    chart.layout()->setContentsMargins(0, 0, 0, 0);
    chart.legend()->hide();
    for (QAbstractAxis* axis : chart.axes()) {
        axis->setGridLineColor(withOpacity(Palette::stroke(), 0.6));
        axis->setLinePenColor(Palette::stroke());
        axis->setLabelsColor(Palette::textSecondary());
        axis->setTitleBrush(Palette::textSecondary());
        axis->setMinorGridLineVisible(false);
    }
}

void prepareChartView(QChartView& view) {
    view.setRenderHint(QPainter::Antialiasing);
    view.setFrameShape(QFrame::NoFrame);
    view.setBackgroundBrush(Qt::transparent);
    view.setStyleSheet(QStringLiteral("background: transparent"));
}

}  // namespace kavrino
