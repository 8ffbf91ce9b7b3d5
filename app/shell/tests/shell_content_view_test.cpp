// The workspace shell: initial pane from KAVRINO_TAB, header texts, selection, panes built
// afresh from their factories with the shared objects, told when they appear and retired.
#include "app/platform/environment.h"
#include "app/platform/testing/fake_dialogs.h"
#include "app/shell/content_view.h"
#include "app/shell/header_bar.h"
#include "app/shell/sidebar.h"
#include "app/workspace/workspace_pane.h"
#include "core/catalog.h"
#include "core/solve_model.h"
#include "reload/reload_catalog.h"

#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace kavrino {
namespace {

struct Shell {
    FixedEnvironment environment;
    FakeDialogs dialogs;
    Platform platform{environment, dialogs};
    Catalog catalog;
    ReloadCatalog reloadCatalog;
};

// A pane as the registry's are: it hears the model through observe() and counts its appearances.
class CountingPane final : public WorkspacePane {
public:
    explicit CountingPane(SolveModel& model) { observe(&model, &SolveModel::changed, this, [this] { ++heard; }); }
    void appear() override { ++appearances; }
    int appearances = 0;
    int heard = 0;
};

TEST(InitialTab, MatchesTitleOrCaseNameInAnyLetterCase) {
    struct Row {
        const char* name;
        std::optional<QString> value;
        WorkspaceTab expected;
    };
    const Row rows[] = {
        {"absent", std::nullopt, WorkspaceTab::solve},
        {"empty", QString(), WorkspaceTab::solve},
        {"unknown", "ballistics", WorkspaceTab::solve},
        {"title", "Trajectory", WorkspaceTab::visualize},
        {"title lower case", "trajectory", WorkspaceTab::visualize},
        {"case name", "visualize", WorkspaceTab::visualize},
        {"case name upper case", "VISUALIZE", WorkspaceTab::visualize},
        {"title with a space", "GIS TARGETING", WorkspaceTab::map},
        {"case name map", "map", WorkspaceTab::map},
        {"camel-case name", "dataImport", WorkspaceTab::dataImport},
        {"camel-case name upper", "DATAIMPORT", WorkspaceTab::dataImport},
        {"camel-case name lower", "dataimport", WorkspaceTab::dataImport},
        {"title of dataImport", "import", WorkspaceTab::dataImport},
        {"reload", "RELOAD", WorkspaceTab::reload},
        {"surrounding space is not trimmed", " solve ", WorkspaceTab::solve},
        {"partial title", "Trajec", WorkspaceTab::solve},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FixedEnvironment environment;
        if (row.value) environment.set("KAVRINO_TAB", *row.value);
        EXPECT_EQ(ContentView::initialTab(environment), row.expected);
    }
}

TEST(WorkspaceTabs, TitlesSymbolsAndGroupsByPosition) {
    EXPECT_EQ(workspaceTabFromTitle("GIS Targeting"), WorkspaceTab::map);
    EXPECT_EQ(workspaceTabFromTitle("gis targeting"), std::nullopt);
    EXPECT_EQ(workspaceTabFromTitle("visualize"), std::nullopt);
    EXPECT_EQ(systemImage(WorkspaceTab::solve), "scope");
    EXPECT_EQ(systemImage(WorkspaceTab::dataImport), "square.and.arrow.down");
    EXPECT_EQ(group(WorkspaceTab::catalog), "WORKSPACE");
    EXPECT_EQ(group(WorkspaceTab::comparison), "PRO TOOLS");
    EXPECT_EQ(group(WorkspaceTab::dataImport), "PRO TOOLS");
}

TEST(ContentView, OpensOnSolveWithItsRowHighlightedAndHeader) {
    Shell shell;
    ContentView view(shell.platform, shell.catalog, shell.reloadCatalog, WorkspacePanes());
    EXPECT_EQ(view.selection(), WorkspaceTab::solve);
    EXPECT_TRUE(view.sidebar()->row(WorkspaceTab::solve)->isSelected());
    EXPECT_EQ(view.headerBar()->groupText(), "WORKSPACE");
    EXPECT_EQ(view.headerBar()->titleText(), "Solve");
    // No pane plugged in yet: an empty page.
    ASSERT_NE(view.currentPane(), nullptr);
    EXPECT_EQ(view.currentPane()->objectName(), "emptyPane_solve");
}

TEST(ContentView, OpensOnThePaneNamedByTheEnvironment) {
    Shell shell;
    shell.environment.set("KAVRINO_TAB", "gis targeting");
    ContentView view(shell.platform, shell.catalog, shell.reloadCatalog, WorkspacePanes());
    EXPECT_EQ(view.selection(), WorkspaceTab::map);
    EXPECT_TRUE(view.sidebar()->row(WorkspaceTab::map)->isSelected());
    EXPECT_FALSE(view.sidebar()->row(WorkspaceTab::solve)->isSelected());
    EXPECT_EQ(view.headerBar()->groupText(), "PRO TOOLS");
    EXPECT_EQ(view.headerBar()->titleText(), "GIS Targeting");
}

TEST(ContentView, ClickingARowSelectsItAndUpdatesTheHeader) {
    Shell shell;
    ContentView view(shell.platform, shell.catalog, shell.reloadCatalog, WorkspacePanes());
    view.resize(1340, 860);
    view.show();
    SidebarRow* comparison = view.sidebar()->row(WorkspaceTab::comparison);
    QTest::mouseClick(comparison, Qt::LeftButton, {}, comparison->labelRect().center());
    EXPECT_EQ(view.selection(), WorkspaceTab::comparison);
    EXPECT_EQ(view.headerBar()->groupText(), "PRO TOOLS");
    EXPECT_EQ(view.headerBar()->titleText(), "Comparison");
    EXPECT_EQ(view.currentPane()->objectName(), "emptyPane_comparison");

    SidebarRow* catalog = view.sidebar()->row(WorkspaceTab::catalog);
    QTest::mouseClick(catalog, Qt::LeftButton, {}, catalog->labelRect().center());
    EXPECT_EQ(view.headerBar()->groupText(), "WORKSPACE");
    EXPECT_EQ(view.headerBar()->titleText(), "Catalog");
    int highlighted = 0;
    for (WorkspaceTab tab : kAllWorkspaceTabs) highlighted += view.sidebar()->row(tab)->isSelected();
    EXPECT_EQ(highlighted, 1);
    EXPECT_TRUE(catalog->isSelected());
}

TEST(ContentView, OnlyTheSelectedPaneExistsAndComingBackBuildsItAfresh) {
    Shell shell;
    int truingBuilt = 0;
    int solveBuilt = 0;
    std::vector<SolveModel*> modelsSeen;
    std::vector<Catalog*> catalogsSeen;
    std::vector<ReloadCatalog*> reloadCatalogsSeen;
    WorkspacePanes panes;
    panes.set(WorkspaceTab::solve, [&](const PaneContext& context) {
        ++solveBuilt;
        modelsSeen.push_back(&context.model);
        catalogsSeen.push_back(&context.catalog);
        reloadCatalogsSeen.push_back(&context.reloadCatalog);
        auto* pane = new WorkspacePane;
        pane->setObjectName("solvePane");
        return pane;
    });
    panes.set(WorkspaceTab::truing, [&](const PaneContext& context) {
        ++truingBuilt;
        modelsSeen.push_back(&context.model);
        auto* pane = new WorkspacePane;
        pane->setObjectName("truingPane");
        return pane;
    });
    ContentView view(shell.platform, shell.catalog, shell.reloadCatalog, std::move(panes));
    EXPECT_EQ(solveBuilt, 1);
    QPointer<QWidget> firstSolve = view.currentPane();

    view.setSelection(WorkspaceTab::truing);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(firstSolve.isNull());  // the previous pane is gone, not hidden
    QPointer<QWidget> firstTruing = view.currentPane();
    EXPECT_EQ(firstTruing->objectName(), "truingPane");
    EXPECT_EQ(view.findChildren<QWidget*>("solvePane").size(), 0);

    view.setSelection(WorkspaceTab::truing);  // choosing the selected row again: nothing new
    EXPECT_EQ(truingBuilt, 1);
    EXPECT_EQ(view.currentPane(), firstTruing.data());

    view.setSelection(WorkspaceTab::solve);
    view.setSelection(WorkspaceTab::truing);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(truingBuilt, 2);
    EXPECT_TRUE(firstTruing.isNull());
    EXPECT_EQ(solveBuilt, 2);

    // Every pane is handed the one model of the view and the one catalog of each kind.
    for (SolveModel* model : modelsSeen) EXPECT_EQ(model, &view.model());
    for (Catalog* catalog : catalogsSeen) EXPECT_EQ(catalog, &shell.catalog);
    for (ReloadCatalog* catalog : reloadCatalogsSeen) EXPECT_EQ(catalog, &shell.reloadCatalog);
}

// A pane whose own button switches panes: the handler keeps running on a live pane, the pane
// leaves the screen and the model's notifications at once, and is deleted afterwards.
TEST(ContentView, APaneThatChangesTheSelectionFromItsOwnSignalOutlivesTheSignal) {
    Shell shell;
    ContentView* viewPointer = nullptr;
    CountingPane* solvePane = nullptr;
    WorkspacePanes panes;
    panes.set(WorkspaceTab::solve, [&](const PaneContext& context) {
        solvePane = new CountingPane(context.model);
        auto* button = new QPushButton("Go to Truing", solvePane);
        QObject::connect(button, &QPushButton::clicked, solvePane, [&, button] {
            viewPointer->setSelection(WorkspaceTab::truing);
            button->setText("Went to Truing");  // the pane is still alive here
        });
        return solvePane;
    });
    ContentView view(shell.platform, shell.catalog, shell.reloadCatalog, std::move(panes));
    viewPointer = &view;
    view.resize(1340, 860);
    view.show();
    QPointer<CountingPane> solve = solvePane;
    view.model().setMuzzleVelocity(2600);
    EXPECT_EQ(solve->heard, 1);
    QTest::mouseClick(solve->findChild<QPushButton*>(), Qt::LeftButton);
    EXPECT_EQ(view.selection(), WorkspaceTab::truing);
    ASSERT_FALSE(solve.isNull());
    EXPECT_FALSE(solve->isVisible());
    EXPECT_NE(view.currentPane(), solve.data());
    view.model().setMuzzleVelocity(2700);  // the retired pane no longer hears the model
    EXPECT_EQ(solve->heard, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(solve.isNull());
}

// appear() runs once each time a pane comes on screen: with the window when the pane was built
// before it showed, at once when it is chosen in a shown window; not while the window is hidden.
TEST(ContentView, APaneAppearsOnceEachTimeItComesOnScreen) {
    Shell shell;
    std::vector<CountingPane*> built;
    WorkspacePanes panes;
    for (WorkspaceTab tab : {WorkspaceTab::solve, WorkspaceTab::catalog}) {
        panes.set(tab, [&](const PaneContext& context) {
            built.push_back(new CountingPane(context.model));
            return built.back();
        });
    }
    ContentView view(shell.platform, shell.catalog, shell.reloadCatalog, std::move(panes));
    view.resize(1340, 860);
    ASSERT_EQ(built.size(), 1u);
    EXPECT_EQ(built[0]->appearances, 0) << "not on screen before the window shows";
    view.show();
    EXPECT_EQ(built[0]->appearances, 1);

    view.setSelection(WorkspaceTab::catalog);
    ASSERT_EQ(built.size(), 2u);
    EXPECT_EQ(built[1]->appearances, 1);
    view.setSelection(WorkspaceTab::catalog);  // the selected row again: no new appearance
    EXPECT_EQ(built[1]->appearances, 1);

    view.hide();
    view.setSelection(WorkspaceTab::solve);  // built while the window is hidden: it waits
    ASSERT_EQ(built.size(), 3u);
    EXPECT_EQ(built[2]->appearances, 0);
    view.show();
    EXPECT_EQ(built[2]->appearances, 1);
}

TEST(ContentView, HeaderDividerAndPaneSitRightOfTheSidebar) {
    Shell shell;
    ContentView view(shell.platform, shell.catalog, shell.reloadCatalog, WorkspacePanes());
    view.resize(1340, 860);
    view.show();
    EXPECT_EQ(view.sidebar()->geometry(), QRect(0, 0, 250, 860));
    EXPECT_EQ(view.headerBar()->geometry().left(), 250);
    auto* divider = view.findChild<QWidget*>("headerDivider");
    ASSERT_NE(divider, nullptr);
    EXPECT_EQ(divider->height(), 1);
    EXPECT_EQ(divider->geometry().top(), view.headerBar()->geometry().bottom() + 1);
    EXPECT_EQ(view.currentPane()->mapTo(&view, QPoint(0, 0)),
              QPoint(250, divider->geometry().bottom() + 1));
    // The sidebar keeps its width in a wider window.
    view.resize(1900, 1000);
    EXPECT_EQ(view.sidebar()->width(), 250);
}

}  // namespace
}  // namespace kavrino
