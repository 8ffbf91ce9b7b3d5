#include "app/shell/content_view.h"

#include "app/platform/environment.h"
#include "app/shell/header_bar.h"
#include "app/shell/sidebar.h"
#include "app/theme/palette.h"
#include "app/workspace/workspace_pane.h"
#include "core/catalog.h"
#include "core/solve_model.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QShowEvent>
#include <QVBoxLayout>

#include <utility>  // std::exchange

namespace kavrino {
namespace {

// The one-point line between the header bar and the pane.
class Divider final : public QWidget {
public:
    explicit Divider(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("headerDivider"));
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Palette::stroke());
    }
};

}  // namespace

ContentView::ContentView(const Platform& platform, Catalog& catalog, ReloadCatalog& reloadCatalog,
                         WorkspacePanes panes, QWidget* parent)
    : QWidget(parent),
      m_model(std::make_unique<SolveModel>()),
      m_context{*m_model, catalog, reloadCatalog, platform, demonstrationPreset(platform.environment)},
      m_panes(std::move(panes)),
      m_selection(initialTab(platform.environment)) {
    setObjectName(QStringLiteral("contentView"));
    fillWithBackground(*this);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    m_sidebar = new Sidebar(m_selection, this);
    row->addWidget(m_sidebar);

    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_header = new HeaderBar(m_selection, this);
    column->addWidget(m_header);
    column->addWidget(new Divider(this));
    m_detail = new QWidget(this);
    m_detail->setObjectName(QStringLiteral("detail"));
    m_detail->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* detailLayout = new QVBoxLayout(m_detail);
    detailLayout->setContentsMargins(0, 0, 0, 0);
    detailLayout->setSpacing(0);
    column->addWidget(m_detail, 1);
    row->addLayout(column, 1);

    connect(m_sidebar, &Sidebar::rowClicked, this, &ContentView::setSelection);
    showPane();
}

ContentView::~ContentView() {
    // Panes observe the model and may write to it as they go: they go first, the current one
    // and any retired one still waiting for the event loop.
    m_pane = nullptr;
    qDeleteAll(m_detail->findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

WorkspaceTab ContentView::initialTab(const Environment& environment) {
    return workspaceTabFromEnvironmentValue(environment.value(QStringLiteral("KAVRINO_TAB")));
}

bool ContentView::demonstrationPreset(const Environment& environment) {
    return environment.value(QStringLiteral("KAVRINO_PRESET")) == QStringLiteral("screenshot");
}

void ContentView::setMinimumContentSize(const QSize& size) {
    m_minimumContentSize = size;
    updateGeometry();
}

QSize ContentView::minimumSizeHint() const {
    // A fixed minimum alone would let the window squeeze a pane below its own minimum widths
    // (the solve pane needs 250 + 300 + 540 points), cutting off its right edge.
    return QWidget::minimumSizeHint().expandedTo(m_minimumContentSize);
}

void ContentView::setSelection(WorkspaceTab tab) {
    if (tab == m_selection) return;
    m_selection = tab;
    m_sidebar->setSelection(tab);
    m_header->setTab(tab);
    showPane();
    emit selectionChanged(tab);
}

void ContentView::retirePane() {
    if (m_pane == nullptr) return;
    // A pane may change the selection from one of its own signal handlers, whose code is still
    // running: it stops observing the shared objects and leaves the screen now, and is deleted
    // once control is back in the event loop.
    WorkspacePane* old = std::exchange(m_pane, nullptr);
    old->retire();
    old->hide();
    m_detail->layout()->removeWidget(old);
    old->deleteLater();
}

void ContentView::showPane() {
    // The old pane is retired before the new one is built, so only one pane ever observes the
    // model.
    retirePane();
    m_pane = m_panes.build(m_selection, m_context);
    m_pane->setParent(m_detail);
    m_detail->layout()->addWidget(m_pane);
    m_pane->show();
    // Built before the window is shown, the pane appears with the window (showEvent below).
    if (isVisible()) m_pane->appear();
}

void ContentView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A window restored from the dock is not the pane coming on screen again.
    if (!event->spontaneous() && m_pane != nullptr) m_pane->appear();
}

}  // namespace kavrino
