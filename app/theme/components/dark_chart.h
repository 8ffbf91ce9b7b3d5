#pragma once
// The dark theme's chart styling, shared by every chart that uses the automatic axes: the
// trajectory chart page and the comparison pane.
class QChart;
class QChartView;

namespace kavrino {

// Styles every axis of `chart` alike: grid lines in Palette::stroke() at opacity 0.6, ticks
// (the axis line) in Palette::stroke(), value labels in Palette::textSecondary() at the
// framework's default font and placement. The chart itself draws on a transparent background with no legend and no margins of its own,
// so it sits on the card it is placed in. Call it after the axes are attached.
void applyDarkChart(QChart& chart);

// A chart view for a styled chart: antialiased, transparent, without a frame. Qt Charts draws
// in device pixels, so the lines stay sharp at any device pixel ratio.
void prepareChartView(QChartView& view);

}  // namespace kavrino
