#pragma once
// A strip of seven figure cells (title in small capitals over the value) separated by short
// dividers, on a rounded control-coloured background, as the solve results' summary shows
// them. Cells take their text's width; the strip scrolls sideways, without scroll bars, when
// the column is narrower.
#include "app/theme/components/metric.h"

#include <QScrollArea>

#include <array>

class QLabel;

namespace kavrino {

class MetricsStrip final : public QScrollArea {
    Q_OBJECT
public:
    explicit MetricsStrip(QWidget* parent = nullptr);

    void setMetrics(const std::array<Metric, 7>& metrics);

    // The value label of cell `key` (object name "metric_<key>").
    QLabel* valueLabel(const QString& key) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QLabel*, 7> m_titles{};
    std::array<QLabel*, 7> m_values{};
};

}  // namespace kavrino
