#include "panes/trajectory/chart_card.h"

#include "app/theme/components/plain_label.h"
#include "app/theme/palette.h"
#include "app/theme/panel_decoration.h"
#include "app/theme/typeface.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace kavrino {
namespace {

constexpr int kPadding = 16;
constexpr int kCornerRadius = 14;
constexpr int kHeaderSpacing = 8;
constexpr int kStackSpacing = 12;

}  // namespace

ChartCard::ChartCard(const QString& title, const QString& subtitle, QWidget* chart, int chartHeight,
                     QWidget* parent)
    : QWidget(parent), m_chart(chart) {
    m_title = plainLabel(title, uiFont(15, QFont::DemiBold), Palette::textPrimary());
    m_title->setObjectName(QStringLiteral("chartTitle"));
    m_subtitle = plainLabel(subtitle, uiFont(10), Palette::textTertiary());  // the caption style
    m_subtitle->setObjectName(QStringLiteral("chartSubtitle"));

    // Both labels sit on the row's bottom; lifting the subtitle by the difference of the two
    // descents puts the texts on one baseline.
    const int lift = QFontMetrics(m_title->font()).descent() - QFontMetrics(m_subtitle->font()).descent();
    m_subtitle->setContentsMargins(0, 0, 0, std::max(lift, 0));
    auto* header = new QHBoxLayout;
    header->setSpacing(kHeaderSpacing);
    header->addWidget(m_title, 0, Qt::AlignBottom);
    header->addWidget(m_subtitle, 0, Qt::AlignBottom);
    header->addStretch(1);

    chart->setFixedHeight(chartHeight);
    auto* content = new QWidget;
    auto* stack = new QVBoxLayout(content);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(kStackSpacing);
    stack->addLayout(header);
    stack->addWidget(chart);

    PanelCard* card = panelDecoration(content, kPadding, kCornerRadius);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(card);
}

}  // namespace kavrino
