#pragma once
// A strip of seven figure cells (title in small capitals over the value) separated by short
// dividers, on a rounded control-coloured background, as the solve results' summary shows
// them. Cells take their text's width; the strip scrolls sideways, without scroll bars, when
// the column is narrower, and fades out at an edge that hides cells.
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

    // True when the strip is narrower than its cells, so some are scrolled out of sight.
    bool hidesCells() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_fades = nullptr;
    std::array<QLabel*, 7> m_titles{};
    std::array<QLabel*, 7> m_values{};
};

}  // namespace kavrino
