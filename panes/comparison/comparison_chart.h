#pragma once
// The comparison's chart: elevation come-up (MOA) against range (yd), one Catmull-Rom line per
// load through its trajectory rows, in the load's series colour, on the dark chart styling. The
// chips above it serve as its legend.
#include "panes/comparison/comparison_model.h"

#include <QChartView>
#include <QList>
#include <QPointF>
#include <QUuid>

#include <vector>

class QLineSeries;
class QValueAxis;

namespace kavrino {

class CatmullRomLine;

class ComparisonChart final : public QChartView {
    Q_OBJECT
public:
    explicit ComparisonChart(QWidget* parent = nullptr);

    // Shows `loads`, load i in colour i mod 5. Lines whose load and rows are unchanged keep
    // their points; only new or changed lines are refilled.
    void setLoads(const std::vector<ComparisonModel::Load>& loads);

    // The line of the load at `position` as drawn (the curve), and the points it runs through.
    QLineSeries* line(std::size_t position) const;
    QList<QPointF> linePoints(std::size_t position) const;
    std::size_t lineCount() const { return m_lines.size(); }
    QValueAxis* rangeAxis() const { return m_rangeAxis; }
    QValueAxis* comeUpAxis() const { return m_comeUpAxis; }

    // The chart asks for its minimum height and takes whatever more the pane has: a scrolling
    // pane lays its content out at the preferred heights, so a taller wish would scroll.
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Line {
        QLineSeries* series;
        CatmullRomLine* curve;  // keeps the series on the curve through the rows; a child of it
        QUuid loadId;       // the load whose rows it shows
        QUuid firstRowId;   // its first row's id: new rows (a recompute) have new ids
        std::size_t rows = 0;
    };
    void measure(const std::vector<ComparisonModel::Load>& loads);
    void fitAxes();
    void describe(const std::vector<ComparisonModel::Load>& loads);

    QChart* m_chart;
    QValueAxis* m_rangeAxis;
    QValueAxis* m_comeUpAxis;
    std::vector<Line> m_lines;
    struct Extent {
        double rangeMax = 0;   // yd
        double comeUpMin = 0;  // MOA
        double comeUpMax = 0;  // MOA
    } m_extent;  // of every finite point shown
};

}  // namespace kavrino
