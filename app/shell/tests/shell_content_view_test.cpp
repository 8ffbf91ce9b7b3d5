// The workspace shell: initial pane from KAVRINO_TAB, header texts, selection, and panes built
// afresh from their factories with the shared model.
#include "app/platform/environment.h"
#include "app/platform/testing/fake_dialogs.h"
#include "app/shell/content_view.h"
#include "app/shell/header_bar.h"
#include "app/shell/sidebar.h"
#include "core/catalog.h"
#include "core/solve_model.h"

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
    ContentView view(shell.platform, shell.catalog, WorkspacePanes());
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
    ContentView view(shell.platform, shell.catalog, WorkspacePanes());
    EXPECT_EQ(view.selection(), WorkspaceTab::map);
    EXPECT_TRUE(view.sidebar()->row(WorkspaceTab::map)->isSelected());
    EXPECT_FALSE(view.sidebar()->row(WorkspaceTab::solve)->isSelected());
    EXPECT_EQ(view.headerBar()->groupText(), "PRO TOOLS");
    EXPECT_EQ(view.headerBar()->titleText(), "GIS Targeting");
}

TEST(ContentView, ClickingARowSelectsItAndUpdatesTheHeader) {
    Shell shell;
    ContentView view(shell.platform, shell.catalog, WorkspacePanes());
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
    WorkspacePanes panes;
    panes.set(WorkspaceTab::solve, [&](const PaneContext& context) {
        ++solveBuilt;
        modelsSeen.push_back(&context.model);
        catalogsSeen.push_back(&context.catalog);
        auto* pane = new QWidget;
        pane->setObjectName("solvePane");
        return pane;
    });
    panes.set(WorkspaceTab::truing, [&](const PaneContext& context) {
        ++truingBuilt;
        modelsSeen.push_back(&context.model);
        auto* pane = new QWidget;
        pane->setObjectName("truingPane");
        return pane;
    });
    ContentView view(shell.platform, shell.catalog, std::move(panes));
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

    // Every pane is handed the one model of the view and the one catalog.
    for (SolveModel* model : modelsSeen) EXPECT_EQ(model, &view.model());
    for (Catalog* catalog : catalogsSeen) EXPECT_EQ(catalog, &shell.catalog);
}

// A pane whose own button switches panes: the handler keeps running on a live pane, the pane
// leaves the screen and the model's notifications at once, and is deleted afterwards.
TEST(ContentView, APaneThatChangesTheSelectionFromItsOwnSignalOutlivesTheSignal) {
    Shell shell;
    ContentView* viewPointer = nullptr;
    int refreshesOfTheOldPane = 0;
    WorkspacePanes panes;
    panes.set(WorkspaceTab::solve, [&](const PaneContext& context) {
        auto* pane = new QPushButton("Go to Truing");
        QObject::connect(&context.model, &SolveModel::changed, pane, [&] { ++refreshesOfTheOldPane; });
        QObject::connect(pane, &QPushButton::clicked, pane, [&, pane] {
            viewPointer->setSelection(WorkspaceTab::truing);
            pane->setText("Went to Truing");  // the pane is still alive here
        });
        return pane;
    });
    ContentView view(shell.platform, shell.catalog, std::move(panes));
    viewPointer = &view;
    view.resize(1340, 860);
    view.show();
    QPointer<QWidget> solve = view.currentPane();
    QTest::mouseClick(static_cast<QPushButton*>(solve.data()), Qt::LeftButton);
    EXPECT_EQ(view.selection(), WorkspaceTab::truing);
    ASSERT_FALSE(solve.isNull());
    EXPECT_FALSE(solve->isVisible());
    EXPECT_NE(view.currentPane(), solve.data());
    view.model().setMuzzleVelocity(2700);  // the retired pane no longer hears the model
    EXPECT_EQ(refreshesOfTheOldPane, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(solve.isNull());
}

TEST(ContentView, HeaderDividerAndPaneSitRightOfTheSidebar) {
    Shell shell;
    ContentView view(shell.platform, shell.catalog, WorkspacePanes());
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
