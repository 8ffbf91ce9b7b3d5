#pragma once
// The comparison's chart: elevation come-up (MOA) against range (yd), one smooth line per load
// through its trajectory rows, in the load's series colour, on the dark chart styling. The
// chips above it serve as its legend.
#include "tools/comparison/comparison_model.h"

#include <QChartView>
#include <QUuid>

#include <vector>

class QSplineSeries;
class QValueAxis;

namespace kavrino {

class ComparisonChart final : public QChartView {
    Q_OBJECT
public:
    explicit ComparisonChart(QWidget* parent = nullptr);

    // Shows `loads`, load i in colour i mod 5. Lines whose load and rows are unchanged keep
    // their points; only new or changed lines are refilled.
    void setLoads(const std::vector<ComparisonModel::Load>& loads);

    // The line of the load at `position`, for tests.
    QSplineSeries* line(std::size_t position) const;
    std::size_t lineCount() const { return m_lines.size(); }
    QValueAxis* rangeAxis() const { return m_rangeAxis; }
    QValueAxis* comeUpAxis() const { return m_comeUpAxis; }

private:
    struct Line {
        QSplineSeries* series;
        QUuid loadId;       // the load whose rows it shows
        QUuid firstRowId;   // its first row's id: new rows (a recompute) have new ids
        std::size_t rows = 0;
    };
    void fitAxes(const std::vector<ComparisonModel::Load>& loads);
    void describe(const std::vector<ComparisonModel::Load>& loads);

    QChart* m_chart;
    QValueAxis* m_rangeAxis;
    QValueAxis* m_comeUpAxis;
    std::vector<Line> m_lines;
};

}  // namespace kavrino
