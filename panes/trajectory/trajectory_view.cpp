#include "panes/trajectory/trajectory_view.h"

#include "app/theme/components/pane_intro.h"
#include "app/theme/components/thin_scroll_bar.h"
#include "app/theme/palette.h"
#include "core/solve_model.h"
#include "panes/trajectory/chart_card.h"
#include "panes/trajectory/range_chart.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>

namespace kavrino {
namespace {

constexpr int kPathHeight = 280;
constexpr int kSmallChartHeight = 180;
constexpr int kSpacing = 16;  // between the page's rows and around them

RangeChartLook pathLook() {
    RangeChartLook look;
    look.title = TrajectoryView3D::tr("Bullet Path");
    look.verticalTitle = TrajectoryView3D::tr("Path (in)");
    look.horizontalTitle = TrajectoryView3D::tr("Range (yd)");
    look.unit = QStringLiteral("in");
    look.lineColour = Palette::accentBright();
    look.areaToZero = true;
    look.rule = ChartRule{0, withOpacity(Palette::textTertiary(), 0.7), TrajectoryView3D::tr("Line of sight"), {}, {}};
    return look;
}

RangeChartLook driftLook() {
    RangeChartLook look;
    look.title = TrajectoryView3D::tr("Wind Drift");
    look.verticalTitle = TrajectoryView3D::tr("Drift (in)");
    look.unit = QStringLiteral("in");
    look.lineColour = Palette::orange();
    return look;
}

RangeChartLook velocityLook(double speedOfSound) {
    RangeChartLook look;
    look.title = TrajectoryView3D::tr("Retained Velocity");
    look.verticalTitle = TrajectoryView3D::tr("Vel (fps)");
    look.unit = QStringLiteral("fps");
    look.lineColour = Palette::accent();
    const QString mach1 = TrajectoryView3D::tr("Mach 1");
    look.rule = ChartRule{speedOfSound, withOpacity(Palette::red(), 0.85), mach1, mach1, Palette::red()};
    return look;
}

}  // namespace

TrajectoryView3D::TrajectoryView3D(SolveModel& model, double speedOfSound, QWidget* parent)
    : WorkspacePane(parent), m_model(model) {
    setObjectName(QStringLiteral("trajectoryView"));
    fillWithBackground(*this);

    m_path = new RangeChart(pathLook());
    m_path->setObjectName(QStringLiteral("pathChart"));
    m_drift = new RangeChart(driftLook());
    m_drift->setObjectName(QStringLiteral("driftChart"));
    m_velocity = new RangeChart(velocityLook(speedOfSound));
    m_velocity->setObjectName(QStringLiteral("velocityChart"));

    m_pathCard = new ChartCard(tr("Bullet Path"), tr("Height vs line of sight \u00b7 inches"), m_path, kPathHeight);
    m_pathCard->setObjectName(QStringLiteral("pathCard"));
    m_driftCard = new ChartCard(tr("Wind Drift"), tr("inches"), m_drift, kSmallChartHeight);
    m_driftCard->setObjectName(QStringLiteral("driftCard"));
    m_velocityCard = new ChartCard(tr("Retained Velocity"), tr("fps"), m_velocity, kSmallChartHeight);
    m_velocityCard->setObjectName(QStringLiteral("velocityCard"));

    // The two small cards share their row in equal halves whatever their headers' widths.
    auto* row = new QHBoxLayout;
    row->setSpacing(kSpacing);
    for (ChartCard* card : {m_driftCard, m_velocityCard}) {
        card->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        row->addWidget(card, 1, Qt::AlignTop);
    }

    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("trajectoryContent"));
    auto* stack = new QVBoxLayout(content);
    stack->setContentsMargins(kSpacing, kSpacing, kSpacing, kSpacing);
    stack->setSpacing(kSpacing);
    auto* intro = new PaneIntro(tr("The bullet's path relative to your line of sight, plus wind drift and "
                                   "retained velocity across the range."));
    intro->setObjectName(QStringLiteral("paneIntro"));
    stack->addWidget(intro);
    stack->addWidget(m_pathCard);
    stack->addLayout(row);
    stack->addStretch(1);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("trajectoryScroll"));
    preparePaneScrollArea(*m_scroll);
    setPaneScrollContent(*m_scroll, content);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);

    observe(&m_model, &SolveModel::changed, this, &TrajectoryView3D::refresh);
    showTrajectory(m_model.trajectory());
}

void TrajectoryView3D::showTrajectory(const std::vector<TrajectoryPoint>& points) {
    QList<QPointF> path, drift, velocity;
    path.reserve(qsizetype(points.size()));
    drift.reserve(qsizetype(points.size()));
    velocity.reserve(qsizetype(points.size()));
    for (const TrajectoryPoint& point : points) {
        path.append(QPointF(point.range, point.path));
        drift.append(QPointF(point.range, point.windDriftInches));
        velocity.append(QPointF(point.range, point.velocity));
    }
    m_path->setPoints(path);
    m_drift->setPoints(drift);
    m_velocity->setPoints(velocity);
    m_shown = points;
}

void TrajectoryView3D::refresh() {
    // Off screen the page waits: appear() draws whatever the model holds by then.
    if (!isVisible()) return;
    if (m_model.trajectory() != m_shown) showTrajectory(m_model.trajectory());
}

void TrajectoryView3D::appear() {
    refresh();
    if (m_model.trajectory().empty()) m_model.solve();
}

}  // namespace kavrino
