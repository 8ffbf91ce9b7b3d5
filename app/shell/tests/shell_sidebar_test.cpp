// The sidebar as the user sees it: title, two headings, eight rows in order, one highlighted row
// with its accent bar, fixed width.
#include "app/shell/sidebar.h"
#include "app/theme/palette.h"
#include "app/theme/testing/composited.h"

#include <QAccessible>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace kavrino {
namespace {

using test_support::over;

QColor pixel(const QImage& image, QPoint at) { return image.pixelColor(at); }

void expectNear(const QColor& actual, const QColor& expected, int tolerance = 1) {
    EXPECT_NEAR(actual.red(), expected.red(), tolerance);
    EXPECT_NEAR(actual.green(), expected.green(), tolerance);
    EXPECT_NEAR(actual.blue(), expected.blue(), tolerance);
}

TEST(Sidebar, ShowsTitleHeadingsAndRowsInOrder) {
    Sidebar sidebar(WorkspaceTab::solve);
    sidebar.resize(Sidebar::kWidth, 800);
    sidebar.show();
    auto* title = sidebar.findChild<QLabel*>("sidebarTitle");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), "Kavrino Pro");
    auto* workspace = sidebar.findChild<QLabel*>("sidebarHeading_workspace");
    auto* proTools = sidebar.findChild<QLabel*>("sidebarHeading_proTools");
    ASSERT_NE(workspace, nullptr);
    ASSERT_NE(proTools, nullptr);
    EXPECT_EQ(workspace->text(), "WORKSPACE");
    EXPECT_EQ(proTools->text(), "PRO TOOLS");

    const QStringList expected = {"Solve",      "Reload", "Catalog",       "Comparison",
                                  "Trajectory", "Truing", "GIS Targeting", "Import"};
    int previousBottom = workspace->geometry().bottom();
    for (int i = 0; i < 8; ++i) {
        SidebarRow* row = sidebar.row(kAllWorkspaceTabs[size_t(i)]);
        SCOPED_TRACE(expected[i].toStdString());
        EXPECT_EQ(row->text(), expected[i]);
        EXPECT_GT(row->geometry().top(), previousBottom);
        if (i < 3) {
            EXPECT_LT(row->geometry().bottom(), proTools->geometry().top());
        } else {
            EXPECT_GT(row->geometry().top(), proTools->geometry().bottom());
        }
        previousBottom = row->geometry().bottom();
    }
    // Padding: the title 18 left and 34 top, the headings 24 left; PRO TOOLS 18 further down.
    EXPECT_EQ(title->geometry().topLeft(), QPoint(18, 34));
    EXPECT_EQ(workspace->geometry().left(), 24);
    EXPECT_EQ(workspace->geometry().top(), title->geometry().bottom() + 1 + 22);
    EXPECT_EQ(proTools->geometry().top(),
              sidebar.row(WorkspaceTab::catalog)->geometry().bottom() + 1 + 18);
}

TEST(Sidebar, StaysTwoHundredFiftyWideWhateverItIsGiven) {
    Sidebar sidebar(WorkspaceTab::solve);
    sidebar.resize(600, 800);
    EXPECT_EQ(sidebar.width(), 250);
    sidebar.resize(100, 800);
    EXPECT_EQ(sidebar.width(), 250);
}

TEST(Sidebar, ExactlyTheSelectedRowIsHighlighted) {
    Sidebar sidebar(WorkspaceTab::catalog);
    for (WorkspaceTab tab : kAllWorkspaceTabs) {
        SCOPED_TRACE(title(tab).toStdString());
        EXPECT_EQ(sidebar.row(tab)->isSelected(), tab == WorkspaceTab::catalog);
    }
    sidebar.setSelection(WorkspaceTab::map);
    for (WorkspaceTab tab : kAllWorkspaceTabs) {
        SCOPED_TRACE(title(tab).toStdString());
        EXPECT_EQ(sidebar.row(tab)->isSelected(), tab == WorkspaceTab::map);
    }
}

TEST(Sidebar, ClickingAnywhereOnARowReportsItsPaneButLeavesTheHighlightToTheOwner) {
    Sidebar sidebar(WorkspaceTab::solve);
    sidebar.resize(Sidebar::kWidth, 800);
    sidebar.show();
    QSignalSpy clicked(&sidebar, &Sidebar::rowClicked);
    SidebarRow* truing = sidebar.row(WorkspaceTab::truing);
    // Far right of the label, over the spacer: still the row.
    QTest::mouseClick(truing, Qt::LeftButton, {}, QPoint(truing->labelRect().right() - 2, truing->height() / 2));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).value<WorkspaceTab>(), WorkspaceTab::truing);
    EXPECT_TRUE(sidebar.row(WorkspaceTab::solve)->isSelected());
    EXPECT_FALSE(truing->isSelected());
    // The 12-point margin outside the label is not part of the row's hit area.
    QTest::mouseClick(truing, Qt::LeftButton, {}, QPoint(4, truing->height() / 2));
    EXPECT_EQ(clicked.count(), 1);
}

// Screen readers and UI automation see page tabs with a selected state, and their action asks
// for the pane exactly as a click does: no row turns itself on or off.
TEST(Sidebar, AssistiveTechnologySeesSelectablePageTabsWhosePressAsksForThePane) {
    Sidebar sidebar(WorkspaceTab::catalog);
    sidebar.resize(Sidebar::kWidth, 800);
    sidebar.show();
    QSignalSpy clicked(&sidebar, &Sidebar::rowClicked);
    QAccessibleInterface* solve = QAccessible::queryAccessibleInterface(sidebar.row(WorkspaceTab::solve));
    QAccessibleInterface* catalog = QAccessible::queryAccessibleInterface(sidebar.row(WorkspaceTab::catalog));
    ASSERT_NE(solve, nullptr);
    ASSERT_NE(catalog, nullptr);
    EXPECT_EQ(solve->role(), QAccessible::PageTab);
    EXPECT_EQ(solve->text(QAccessible::Name), "Solve");
    EXPECT_FALSE(solve->state().selected);
    EXPECT_TRUE(catalog->state().selected);
    EXPECT_FALSE(solve->state().checkable);

    QAccessibleActionInterface* actions = solve->actionInterface();
    ASSERT_NE(actions, nullptr);
    EXPECT_EQ(actions->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    actions->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).value<WorkspaceTab>(), WorkspaceTab::solve);
    // The owner has not moved the selection yet: nothing changed by itself.
    EXPECT_TRUE(sidebar.row(WorkspaceTab::catalog)->isSelected());
    EXPECT_FALSE(sidebar.row(WorkspaceTab::solve)->isSelected());

    sidebar.setSelection(WorkspaceTab::solve);
    EXPECT_TRUE(solve->state().selected);
    EXPECT_FALSE(catalog->state().selected);
}

TEST(SidebarLook, SelectedRowHasSoftFillAccentBarAndBrightIcon) {
    Sidebar sidebar(WorkspaceTab::solve);
    sidebar.resize(Sidebar::kWidth, 800);
    sidebar.show();
    const QImage image = sidebar.grab().toImage();
    SidebarRow* solve = sidebar.row(WorkspaceTab::solve);
    SidebarRow* reload = sidebar.row(WorkspaceTab::reload);
    const QPoint solveOrigin = solve->geometry().topLeft();
    const QPoint reloadOrigin = reload->geometry().topLeft();
    const int middle = solve->height() / 2;

    // Sidebar background and its trailing line.
    expectNear(pixel(image, QPoint(5, 5)), over(Palette::surface(), Qt::black));
    expectNear(pixel(image, QPoint(249, 400)), over(Palette::stroke(), Qt::black));
    // Selected row: accent soft over the surface, inside the label (x 12..237), away from text.
    const QColor soft = over(Palette::accentSoft(), Palette::surface());
    expectNear(pixel(image, solveOrigin + QPoint(230, middle)), soft);
    // Outside the label: plain surface.
    expectNear(pixel(image, solveOrigin + QPoint(6, middle)), over(Palette::surface(), Qt::black));
    // Accent bar: 3 wide, 2 in from the label's leading edge (x 14..16), 16 tall.
    expectNear(pixel(image, solveOrigin + QPoint(15, middle)), over(Palette::accent(), Qt::black));
    expectNear(pixel(image, solveOrigin + QPoint(15, middle - 10)), soft);
    // Unselected row: no fill.
    expectNear(pixel(image, reloadOrigin + QPoint(230, middle)), over(Palette::surface(), Qt::black));
    expectNear(pixel(image, reloadOrigin + QPoint(15, middle)), over(Palette::surface(), Qt::black));
}

}  // namespace
}  // namespace kavrino
