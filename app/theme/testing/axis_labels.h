#pragma once
// What a chart's axes read, as drawn: the tick labels laid out in its scene.
#include <QAbstractAxis>
#include <QChart>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QStringList>

#include <algorithm>
#include <utility>
#include <vector>

namespace kavrino::test_support {

// The tick labels of the chart's vertical axis (left of the plot area), top to bottom, or of
// its horizontal axis (below the plot area), left to right. Axis titles are left out.
inline QStringList axisLabels(const QChart& chart, Qt::Orientation orientation) {
    const QRectF plot = chart.plotArea();
    QStringList titles;
    for (const QAbstractAxis* axis : chart.axes()) titles << axis->titleText();
    std::vector<std::pair<double, QString>> found;
    for (QGraphicsItem* item : chart.scene()->items()) {
        auto* text = dynamic_cast<QGraphicsTextItem*>(item);
        if (text == nullptr || !text->isVisible() || titles.contains(text->toPlainText())) continue;
        const QRectF box = text->sceneBoundingRect();
        if (orientation == Qt::Vertical && box.right() <= plot.left() + 1) {
            found.emplace_back(box.center().y(), text->toPlainText());
        } else if (orientation == Qt::Horizontal && box.top() >= plot.bottom() - 1) {
            found.emplace_back(box.center().x(), text->toPlainText());
        }
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList labels;
    for (const auto& [position, text] : found) labels << text;
    return labels;
}

// True when `label` shows a zero with a minus sign: "-0", "-0.00", "-0,0".
inline bool readsNegativeZero(const QString& label) {
    if (!label.startsWith(QLatin1Char('-')) && !label.startsWith(QChar(0x2212))) return false;
    return std::all_of(label.begin() + 1, label.end(),
                       [](QChar c) { return c == QLatin1Char('0') || c == QLatin1Char('.') || c == QLatin1Char(','); });
}

}  // namespace kavrino::test_support
