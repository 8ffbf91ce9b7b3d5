#pragma once
// The dark theme's chart styling, shared by every chart that uses the automatic axes: the
// trajectory chart page and the comparison pane.
class QChart;
class QChartView;
class QValueAxis;

namespace kavrino {

// Styles every axis of `chart` alike: grid lines in Palette::stroke() at opacity 0.6, ticks
// (and the axis line they stand on) in Palette::stroke(), value labels in
// Palette::textSecondary() at the chart's caption size; axis titles, where a chart sets them,
// in the same colour and size. The chart draws on a transparent background with no legend and
// no margins of its own, so it sits on the card it is placed in. From then on the plot area is
// kept on whole pixels (moved and trimmed by under a pixel per grid step), so the 1-point grid
// lines are crisp at device pixel ratios of 1 and 2. Call it after the axes are attached.
void applyDarkChart(QChart& chart);

// A chart view for a styled chart: antialiased (lines and text), transparent, without a frame
// or scroll bars. Qt Charts draws in device pixels, so lines and labels stay sharp at any
// device pixel ratio.
void prepareChartView(QChartView& view);

// The automatic domain of a value axis: the span from `low` to `high` widened to include zero
// (as the charts of the theme always show their zero), then rounded outwards to nice numbers
// (QValueAxis::applyNiceNumbers). Of the results for `tickTarget` ticks and more, the
// tightest span with at most `maxTicks` ticks wins (labels closer than about 22 points are
// elided, so a short axis allows fewer). A span with nothing in it (all values zero, or no
// values at all when both are 0) becomes -1 to 1, so a flat line at 0 sits in the middle.
// Labelled as setTickedRange() labels.
void applyAutomaticRange(QValueAxis& axis, double low, double high, int tickTarget = 5, int maxTicks = 7);

// Gives `axis` the range `min` to `max` with `ticks` evenly spaced ticks (at least two), each
// labelled with as many decimals as the tick step needs ("200", "2.5", "0.25"; never "200.0"),
// so that neighbouring labels differ. No label reads as a negative zero ("-0", "-0.00"): where
// the axis would compute a zero tick a hair below zero, the range is raised by far less than
// the labels' last digit.
void setTickedRange(QValueAxis& axis, double min, double max, int ticks);

// The decimals that show every multiple of `step` exactly, at most six: 0 for 200, 1 for 2.5.
int tickDecimals(double step);

}  // namespace kavrino
