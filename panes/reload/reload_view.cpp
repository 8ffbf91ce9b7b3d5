#include "panes/reload/reload_view.h"

#include "app/theme/components/plain_label.h"
#include "app/theme/palette.h"
#include "app/theme/symbol_icon.h"
#include "app/theme/typeface.h"
#include "panes/reload/busy_indicator.h"
#include "panes/reload/prediction_column.h"
#include "panes/reload/reload_form.h"
#include "panes/reload/reload_selection.h"
#include "reload/reload_catalog.h"

#include <QLabel>
#include <QPainter>
#include <QSplitter>
#include <QStackedLayout>
#include <QVBoxLayout>

#include <algorithm>

namespace kavrino {

namespace {

constexpr int kFormIdealWidth = 340;
constexpr int kTitleSymbolSize = 22;  // the title font's size

QLabel* centredText(const QString& text, const QFont& font) {
    QLabel* label = plainLabel(text, font, Palette::textSecondary());
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

// A vertical stack of `top` over `text`, `spacing` apart, in the middle of the page. The text
// spans the page and centres its own lines, so it wraps only on a narrower page: centred by the
// stack it would be as narrow as its size hint but only one line, at the page's width, tall.
QWidget* centredStack(const char* objectName, int spacing, QWidget* top, QLabel* text) {
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(objectName));
    auto* stack = new QVBoxLayout(page);
    stack->setSpacing(spacing);
    stack->addStretch(1);
    stack->addWidget(top, 0, Qt::AlignHCenter);
    stack->addWidget(text);
    stack->addStretch(1);
    return page;
}

// A split view whose divider is a one-point line in the stroke colour. Painted by its handle
// rather than set by a style sheet, which would restyle every widget of the pane.
class HairlineSplitter final : public QSplitter {
public:
    HairlineSplitter() : QSplitter(Qt::Horizontal) {}

protected:
    QSplitterHandle* createHandle() override {
        class Handle final : public QSplitterHandle {
        public:
            using QSplitterHandle::QSplitterHandle;

        protected:
            void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Palette::stroke()); }
        };
        return new Handle(orientation(), this);
    }
};

}  // namespace

ReloadView::ReloadView(ReloadCatalog& catalog, QWidget* parent)
    : WorkspacePane(parent), m_selection(new ReloadSelection(catalog, connections(), this)) {
    setObjectName(QStringLiteral("reloadView"));
    fillWithBackground(*this);

    m_views = new QStackedLayout(this);
    m_views->setContentsMargins(0, 0, 0, 0);
    m_failureView = buildFailureView();
    m_loadingView = buildLoadingView();
    m_views->addWidget(m_failureView);
    m_views->addWidget(m_loadingView);

    connect(m_selection, &ReloadSelection::changed, this, &ReloadView::refresh);
    refresh();
}

QWidget* ReloadView::buildFailureView() {
    auto* symbol = new QLabel;
    symbol->setObjectName(QStringLiteral("failureSymbol"));
    symbol->setPixmap(tintedPixmap(symbolIcon(QStringLiteral("exclamationmark.triangle")), Palette::orange(),
                                   kTitleSymbolSize, std::max(2.0, devicePixelRatioF())));
    symbol->setAccessibleName(tr("Warning"));
    auto* text = centredText(tr("The reload catalog failed to load. Reinstall the app to restore bundled data."),
                             uiFont(13));
    text->setObjectName(QStringLiteral("failureText"));
    return centredStack("failureView", 8, symbol, text);
}

QWidget* ReloadView::buildLoadingView() {
    auto* indicator = new BusyIndicator;
    indicator->setObjectName(QStringLiteral("loadingIndicator"));
    indicator->setAccessibleName(tr("Loading load data"));
    // Says what is loading without calling the shipped loads published data.
    auto* text = centredText(tr("Loading load data\u2026"), calloutFont());
    text->setObjectName(QStringLiteral("loadingText"));
    return centredStack("loadingView", 12, indicator, text);
}

void ReloadView::buildSplitView() {
    m_splitter = new HairlineSplitter;
    m_splitter->setObjectName(QStringLiteral("reloadSplitter"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setHandleWidth(1);
    m_form = new ReloadForm(*m_selection);
    m_column = new PredictionColumn(*m_selection);
    m_splitter->addWidget(m_form);
    m_splitter->addWidget(m_column);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({kFormIdealWidth, 100000});
    m_views->addWidget(m_splitter);
}

QWidget* ReloadView::currentView() const { return m_views->currentWidget(); }

void ReloadView::refresh() {
    const ReloadCatalog& catalog = m_selection->catalog();
    if (catalog.loadFailed()) {
        m_views->setCurrentWidget(m_failureView);
    } else if (!catalog.loaded()) {
        m_views->setCurrentWidget(m_loadingView);
    } else {
        if (m_splitter == nullptr) buildSplitView();
        m_form->refresh();
        m_column->refresh();
        m_views->setCurrentWidget(m_splitter);
    }
}

void ReloadView::appear() { m_selection->appear(); }

}  // namespace kavrino
