// The catalog pane driven as a user drives it, offscreen: the list switch and its counts,
// typing in the search field, the "Use" button, double-clicks on and beside a row, Return on
// the focused row, and the same rows read and used through assistive technology; each apply
// checked on the shared solve model it feeds.
#include "app/theme/components/segmented_picker.h"
#include "core/catalog.h"
#include "core/format.h"
#include "core/resource_lookup.h"
#include "core/solve_model.h"
#include "core/testing/solve_counter.h"
#include "panes/catalog/catalog_list_model.h"
#include "panes/catalog/catalog_list_view.h"
#include "panes/catalog/catalog_row_layout.h"
#include "panes/catalog/catalog_view.h"
#include "panes/catalog/search_field.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace kavrino {
namespace {

using test_support::SolveCounter;

QPoint at(const QPointF& point) { return point.toPoint(); }

// A real double-click: press, release, then the second press that the system reports as a
// double-click, and its release.
void doubleClick(QWidget* widget, const QPoint& position) {
    QTest::mousePress(widget, Qt::LeftButton, {}, position);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, position);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, position);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, position);
}

class CatalogPane : public ::testing::Test {
protected:
    void SetUp() override { catalog.load(ResourceLookup(QStringLiteral(KAVRINO_TEST_DATA_DIR "/catalog"))); }

    CatalogView& show(int width = 900, int height = 600) {
        view = std::make_unique<CatalogView>(model, catalog);
        view->resize(width, height);
        view->show();
        QApplication::setActiveWindow(view.get());
        QApplication::processEvents();
        return *view;
    }

    CatalogListView* list() const { return view->listView(); }
    QWidget* viewport() const { return list()->viewport(); }
    CatalogRowGeometry row(int index) const { return list()->rowGeometry(index); }
    QStringList shownTitles() const {
        QStringList titles;
        for (int r = 0; r < view->listModel()->rowCount(); ++r) titles << view->listModel()->title(r);
        return titles;
    }
    void type(const QString& text) {
        QLineEdit* edit = view->searchField()->lineEdit();
        edit->setFocus();
        QTest::keyClicks(edit, text);
    }
    void clickSegment(int segment) {
        SegmentedPicker* picker = view->listPicker();
        QTest::mouseClick(picker, Qt::LeftButton, {}, picker->segmentRect(segment).center());
    }
    QString modelBallisticCoefficientText() const {
        return qformat("BC %.3f %s", model.ballisticCoefficient(), std::string(rawValue(model.dragModel())));
    }

    Catalog catalog;
    SolveModel model;
    std::unique_ptr<CatalogView> view;
};

TEST_F(CatalogPane, SegmentsCountTheWholeCatalogWhileTheSearchNarrowsTheList) {
    show();
    SegmentedPicker* picker = view->listPicker();
    EXPECT_EQ(picker->segmentText(0), "Bullets (6)");
    EXPECT_EQ(picker->segmentText(1), "Factory Loads (3)");
    EXPECT_EQ(picker->selectedIndex(), 0);
    EXPECT_EQ(view->searchField()->text(), "");
    EXPECT_EQ(view->searchField()->lineEdit()->placeholderText(), "Search bullets & loads");
    EXPECT_EQ(list()->model()->rowCount(), 6);

    // Every keystroke filters at once.
    type(QStringLiteral("M"));
    EXPECT_EQ(list()->model()->rowCount(), 2);  // ELD Match, MatchKing
    type(QStringLiteral("atchK"));
    EXPECT_EQ(shownTitles(), QStringList{"SierraBullets MatchKing 168gr"});
    type(QStringLiteral("zzz"));
    EXPECT_EQ(list()->model()->rowCount(), 0);
    EXPECT_EQ(picker->segmentText(0), "Bullets (6)");
    EXPECT_EQ(picker->segmentText(1), "Factory Loads (3)");
    QTest::keyClick(view->searchField()->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(view->searchField()->lineEdit(), Qt::Key_Backspace);
    EXPECT_EQ(list()->model()->rowCount(), 6);
}

TEST_F(CatalogPane, MissingCatalogFilesShowZeroCountsAndEmptyListsWithoutAMessage) {
    catalog.load(ResourceLookup(QStringLiteral(KAVRINO_TEST_DATA_DIR "/no_such_folder")));
    show();
    EXPECT_EQ(view->listPicker()->segmentText(0), "Bullets (0)");
    EXPECT_EQ(view->listPicker()->segmentText(1), "Factory Loads (0)");
    EXPECT_EQ(list()->model()->rowCount(), 0);
    clickSegment(1);
    EXPECT_EQ(list()->model()->rowCount(), 0);
    EXPECT_TRUE(view->findChildren<QLabel*>().isEmpty());
}

TEST_F(CatalogPane, CountsAndRowsFollowTheCatalogsLists) {
    Catalog later;
    CatalogView pane(model, later);
    EXPECT_EQ(pane.listPicker()->segmentText(0), "Bullets (0)");
    later.load(ResourceLookup(QStringLiteral(KAVRINO_TEST_DATA_DIR "/catalog")));
    EXPECT_EQ(pane.listPicker()->segmentText(0), "Bullets (6)");
    EXPECT_EQ(pane.listPicker()->segmentText(1), "Factory Loads (3)");
    EXPECT_EQ(pane.listView()->model()->rowCount(), 6);
}

TEST_F(CatalogPane, SwitchingListsKeepsTheSearchAndFiltersTheOtherList) {
    show();
    type(QStringLiteral("federal"));
    EXPECT_EQ(list()->model()->rowCount(), 0);
    clickSegment(1);
    EXPECT_EQ(view->listPicker()->selectedIndex(), 1);
    EXPECT_EQ(view->searchField()->text(), "federal");
    EXPECT_EQ(shownTitles(), QStringList{"6.5 Creedmoor Federal Gold Medal"});
    clickSegment(0);
    EXPECT_EQ(list()->model()->rowCount(), 0);
    EXPECT_EQ(view->searchField()->text(), "federal");
}

TEST_F(CatalogPane, UseAppliesTheRowsBulletAndSolvesWithTheCoefficientTheRowShows) {
    show();
    SolveCounter solves(model);
    for (int r = 0; r < list()->model()->rowCount(); ++r) {
        SCOPED_TRACE(r);
        const QString subtitle = view->listModel()->subtitle(r);
        QTest::mouseClick(viewport(), Qt::LeftButton, {}, at(row(r).useButton.center()));
        EXPECT_EQ(solves.count(), r + 1);
        EXPECT_EQ(model.bulletName(), view->listModel()->title(r));
        EXPECT_EQ(modelBallisticCoefficientText(), subtitle);
        EXPECT_EQ(model.muzzleVelocity(), 2650.0);  // a bullet carries no velocity
    }
    // The first bullet again: its weight and length, and a solve each time it is used.
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, at(row(0).useButton.center()));
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, at(row(0).useButton.center()));
    EXPECT_EQ(solves.count(), 8);
    EXPECT_EQ(model.bulletWeight(), 168.9);
    EXPECT_EQ(model.bulletLength(), 1.23);
    EXPECT_FALSE(model.trajectory().empty());
    // The pane stays as it was.
    EXPECT_EQ(view->listPicker()->selectedIndex(), 0);
    EXPECT_EQ(list()->model()->rowCount(), 6);
}

TEST_F(CatalogPane, UseOnAFactoryLoadSetsItsVelocityAndSolves) {
    show();
    clickSegment(1);
    SolveCounter solves(model);
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, at(row(0).useButton.center()));
    EXPECT_EQ(solves.count(), 1);
    EXPECT_EQ(model.bulletName(), "308 Win 168gr ELD Match");
    EXPECT_EQ(model.muzzleVelocity(), 2820.9);
    EXPECT_EQ(model.bulletWeight(), 168);
    EXPECT_EQ(model.dragModel(), DragModel::G7);
    EXPECT_EQ(model.ballisticCoefficient(), 0.263);
    // The solve ran with the load: its first row leaves the muzzle near the load's velocity.
    ASSERT_FALSE(model.trajectory().empty());
    EXPECT_NEAR(model.trajectory().front().range, 100, 1);
    EXPECT_LT(model.trajectory().front().velocity, 2820.9);
    EXPECT_GT(model.trajectory().front().velocity, 2500);
}

TEST_F(CatalogPane, OnlyADoubleClickOnTheRowsStackApplies) {
    show();
    SolveCounter solves(model);
    const CatalogRowGeometry first = row(1);  // Lapua: no BC, so G1 0.5
    const QPointF spacer(first.useButton.left() - 30, first.body.center().y());
    ASSERT_GT(spacer.x(), first.title.left() + QFontMetrics(list()->rowLayout().titleFont())
                                                    .horizontalAdvance(view->listModel()->title(1)));

    QTest::mouseClick(viewport(), Qt::LeftButton, {}, at(spacer));
    EXPECT_EQ(solves.count(), 0);  // one click: nothing

    const QPointF misses[] = {
        {spacer.x(), first.band.top() + 2},      // the margin above the stack
        {spacer.x(), first.band.bottom() - 2},   // the margin below it
        {first.band.left() + 3, first.body.center().y()},  // beside the stack, inside the band
    };
    for (const QPointF& miss : misses) doubleClick(viewport(), at(miss));
    EXPECT_EQ(solves.count(), 0);

    doubleClick(viewport(), at(spacer));
    EXPECT_EQ(solves.count(), 1);
    EXPECT_EQ(model.bulletName(), "Lapua Scenar-L 155gr");
    EXPECT_EQ(modelBallisticCoefficientText(), "BC 0.500 G1");
    doubleClick(viewport(), at(row(4).tile.center()));
    doubleClick(viewport(), at(row(4).title.topLeft() + QPointF(4, 4)));
    EXPECT_EQ(solves.count(), 3);
    EXPECT_EQ(model.bulletName(), "SierraBullets MatchKing 168gr");
}

TEST_F(CatalogPane, UseActsOnReleaseOverTheButtonLikeAPushButton) {
    show();
    SolveCounter solves(model);
    const CatalogRowGeometry first = row(0);
    QTest::mousePress(viewport(), Qt::LeftButton, {}, at(first.useButton.center()));
    QTest::mouseMove(viewport(), at(first.body.center()));
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, at(first.body.center()));
    EXPECT_EQ(solves.count(), 0);
    QTest::mousePress(viewport(), Qt::LeftButton, {}, at(first.body.center()));
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, at(first.useButton.center()));
    EXPECT_EQ(solves.count(), 0);
}

TEST_F(CatalogPane, ReturnUsesTheRowKeyboardNavigationReached) {
    show();
    SolveCounter solves(model);
    view->searchField()->lineEdit()->setFocus();
    QTest::keyClick(view->searchField()->lineEdit(), Qt::Key_Tab);
    ASSERT_TRUE(list()->hasFocus());
    EXPECT_EQ(list()->currentIndex().row(), 0);
    QTest::keyClick(list(), Qt::Key_Down);
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_EQ(solves.count(), 1);
    EXPECT_EQ(model.bulletName(), "Lapua Scenar-L 155gr");
    QTest::keyClick(list(), Qt::Key_Down);
    QTest::keyClick(list(), Qt::Key_Enter);
    EXPECT_EQ(solves.count(), 2);
    EXPECT_EQ(model.bulletName(), "Berger Hybrid Target 185gr");
    // A click makes its row the one Return uses.
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, at(row(4).body.center()));
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_EQ(model.bulletName(), "SierraBullets MatchKing 168gr");
}

TEST_F(CatalogPane, AssistiveTechnologyReadsEachRowAndUsesIt) {
    show();
    SolveCounter solves(model);
    QAccessibleInterface* listItems = QAccessible::queryAccessibleInterface(list());
    ASSERT_NE(listItems, nullptr);
    EXPECT_EQ(listItems->role(), QAccessible::List);
    EXPECT_EQ(listItems->text(QAccessible::Name), "Bullets");
    ASSERT_EQ(listItems->childCount(), 6);

    QAccessibleInterface* nosler = listItems->child(3);
    ASSERT_NE(nosler, nullptr);
    EXPECT_EQ(nosler->role(), QAccessible::ListItem);
    EXPECT_EQ(nosler->text(QAccessible::Name), "Nosler RDF 175gr");
    EXPECT_EQ(nosler->text(QAccessible::Description), "BC 0.485 G1");
    EXPECT_EQ(listItems->indexOfChild(nosler), 3);
    EXPECT_EQ(nosler->parent(), listItems);
    EXPECT_EQ(listItems->childAt(nosler->rect().center().x(), nosler->rect().center().y()), nosler);
    // Item views are one-column tables for assistive technology.
    ASSERT_NE(listItems->tableInterface(), nullptr);
    EXPECT_EQ(listItems->tableInterface()->rowCount(), 6);
    EXPECT_EQ(listItems->tableInterface()->cellAt(3, 0), nosler);
    EXPECT_EQ(nosler->tableCellInterface()->rowIndex(), 3);
    ASSERT_NE(nosler->actionInterface(), nullptr);
    nosler->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(solves.count(), 1);
    EXPECT_EQ(model.bulletName(), "Nosler RDF 175gr");

    ASSERT_EQ(nosler->childCount(), 1);
    QAccessibleInterface* use = nosler->child(0);
    EXPECT_EQ(use->role(), QAccessible::PushButton);
    EXPECT_EQ(use->text(QAccessible::Name), "Use");
    EXPECT_EQ(use->parent(), nosler);
    EXPECT_EQ(nosler->childAt(use->rect().center().x(), use->rect().center().y()), use);
    use->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(solves.count(), 2);

    // The items follow the search: an entry filtered out is no longer an item.
    type(QStringLiteral("Sierra"));
    ASSERT_EQ(listItems->childCount(), 1);
    EXPECT_EQ(listItems->child(0)->text(QAccessible::Name), "SierraBullets MatchKing 168gr");
    EXPECT_EQ(listItems->child(0)->tableCellInterface()->rowIndex(), 0);
    EXPECT_FALSE(nosler->isValid());
    nosler->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(solves.count(), 2);
    // And the list switch: each segment is named with its count.
    QAccessibleInterface* picker = QAccessible::queryAccessibleInterface(view->listPicker());
    ASSERT_EQ(picker->childCount(), 2);
    EXPECT_EQ(picker->child(1)->text(QAccessible::Name), "Factory Loads (3)");
    picker->child(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(listItems->text(QAccessible::Name), "Factory Loads");
    EXPECT_EQ(listItems->childCount(), 0);  // "Sierra" is in no load's name
    EXPECT_EQ(QAccessible::queryAccessibleInterface(view->searchField()->lineEdit())->text(QAccessible::Name),
              "Search bullets & loads");
}

TEST_F(CatalogPane, RowsAndHeaderKeepTheirMeasures) {
    for (const QSize size : {QSize(830, 650), QSize(1090, 790), QSize(1550, 930)}) {
        SCOPED_TRACE(size.width());
        show(size.width(), size.height());
        const CatalogRowGeometry first = row(0);
        EXPECT_EQ(first.band.height(), list()->rowLayout().rowHeight());
        EXPECT_EQ(first.body.top() - first.band.top(), 5);
        EXPECT_EQ(first.band.bottom() - first.body.bottom(), 5);
        EXPECT_EQ(first.tile.size(), QSizeF(34, 34));
        EXPECT_EQ(first.tile.left(), first.body.left());
        EXPECT_EQ(first.useButton.right(), first.body.right());
        EXPECT_EQ(first.title.left() - first.tile.right(), 12);
        EXPECT_EQ(row(1).band.top(), first.band.bottom());

        // The switch and the search: 12 apart, at most 320 and 340 wide, centred together,
        // 16 points below the top.
        auto inPane = [this](const QWidget* widget) {
            return QRect(widget->mapTo(view.get(), QPoint(0, 0)), widget->size());
        };
        const QRect picker = inPane(view->listPicker());
        const QRect search = inPane(view->searchField());
        EXPECT_EQ(picker.width(), 320);
        EXPECT_EQ(search.width(), 340);
        EXPECT_EQ(search.left() - (picker.right() + 1), 12);
        EXPECT_LE(std::abs(picker.left() - (view->width() - 1 - search.right())), 1);
        EXPECT_EQ(std::min(picker.top(), search.top()), 16);
        // The list starts under the 1-point divider and reaches the bottom.
        EXPECT_EQ(list()->geometry().bottom(), view->height() - 1);
    }
}

}  // namespace
}  // namespace kavrino
