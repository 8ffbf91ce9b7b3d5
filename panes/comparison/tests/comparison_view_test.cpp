// The comparison pane driven as a user drives it, offscreen: picking bullets, the chips and
// their colours, removing loads, the chart's lines, the demonstration preset, and "Export CSV"
// through a fake save panel, including the places where the file cannot be written.
#include "app/platform/environment.h"
#include "app/platform/platform.h"
#include "app/platform/testing/fake_dialogs.h"
#include "app/theme/testing/catmull_rom_reference.h"
#include "core/catalog.h"
#include "core/resource_lookup.h"
#include "panes/comparison/comparison_chart.h"
#include "panes/comparison/comparison_chip.h"
#include "panes/comparison/comparison_colours.h"
#include "panes/comparison/comparison_export.h"
#include "panes/comparison/comparison_model.h"
#include "panes/comparison/comparison_view.h"

#include <QAccessible>
#include <QAbstractItemView>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QChart>
#include <QLineSeries>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <charconv>
#include <csignal>
#include <cstdlib>  // std::abs
#include <functional>
#include <memory>
#include <string>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace kavrino {
namespace {

QByteArray read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class ComparisonPane : public ::testing::Test {
protected:
    void SetUp() override { useCatalog("preset_catalog"); }

    void useCatalog(const char* folder) {
        catalog.load(ResourceLookup(QStringLiteral(KAVRINO_TEST_DATA_DIR "/") + QString::fromLatin1(folder)));
    }

    // Builds the pane and puts it on screen, as the shell does when the tab is chosen.
    ComparisonView& show(int width = 1090, int height = 797) {
        view = std::make_unique<ComparisonView>(catalog, platform, demonstrationPreset);
        view->resize(width, height);
        view->show();
        view->appear();
        QApplication::setActiveWindow(view.get());
        return *view;
    }

    ComparisonModel& model() { return view->model(); }

    // Picks the bullet with `id` as a user does: opens the list, highlights its row, presses
    // Return.
    void pick(const QString& id) {
        QComboBox* picker = view->picker();
        const int index = picker->findData(id);
        ASSERT_GT(index, 0) << id.toStdString();
        picker->showPopup();
        picker->view()->setCurrentIndex(picker->model()->index(index, 0));
        QTest::keyClick(picker->view(), Qt::Key_Return);
    }

    bool listOpen() const { return view->picker()->view()->isVisible(); }
    int highlightedRow() const { return view->picker()->view()->currentIndex().row(); }

    QStringList chipTexts() const {
        QStringList texts;
        for (const ComparisonChip* chip : view->chips()) texts << chip->text();
        return texts;
    }

    // Deletes what the pane handed to deleteLater (chips whose load went).
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    FixedEnvironment environment;
    FakeDialogs dialogs;
    Platform platform{environment, dialogs};
    bool demonstrationPreset = false;
    Catalog catalog;
    std::unique_ptr<ComparisonView> view;
};

TEST_F(ComparisonPane, FreshPaneShowsTheEmptyStateAndNoExport) {
    show();
    EXPECT_TRUE(model().loads().empty());
    EXPECT_TRUE(view->findChild<QWidget*>("comparisonEmptyState")->isVisible());
    EXPECT_FALSE(view->findChild<QWidget*>("comparisonChartCard")->isVisible());
    EXPECT_FALSE(view->findChild<QWidget*>("chipRow")->isVisible());
    EXPECT_FALSE(view->findChild<QPushButton*>("exportCsvButton")->isVisible());
    EXPECT_EQ(view->findChild<QLabel*>("emptyStateTitle")->text(), "Compare loads side by side");
    auto* text = view->findChild<QLabel*>("emptyStateText");
    EXPECT_EQ(text->text(), "Add two or more loads to chart their elevation come-up across the range.");
    // The explanation has the card's width and all the height its lines need.
    QApplication::processEvents();
    EXPECT_GE(text->height(), text->heightForWidth(text->width()));
    EXPECT_GE(text->width(), text->fontMetrics().horizontalAdvance(text->text()));
}

TEST_F(ComparisonPane, PickerOffersThePlaceholderThenEveryBulletInCatalogOrder) {
    show();
    QComboBox* picker = view->picker();
    EXPECT_EQ(picker->width(), 320);
    ASSERT_EQ(picker->count(), 1 + int(catalog.bullets().size()));
    EXPECT_EQ(picker->currentIndex(), 0);
    EXPECT_EQ(picker->itemText(0), QString::fromUtf8("Add a load to compare\u2026"));
    for (size_t i = 0; i < catalog.bullets().size(); ++i) {
        EXPECT_EQ(picker->itemText(int(i) + 1), bulletLabel(catalog.bullets()[i]));
        EXPECT_EQ(picker->itemData(int(i) + 1).toString(), catalog.bullets()[i].id);
    }
}

TEST_F(ComparisonPane, PickingABulletAddsOneLoadAt2700AndResetsThePicker) {
    show();
    pick("hornady-264-140-eld");
    ASSERT_EQ(model().loads().size(), 1u);
    EXPECT_EQ(model().loads()[0].muzzleVelocity, 2700);
    EXPECT_EQ(chipTexts(), QStringList{QString::fromUtf8("Hornady ELD Match 140gr \u00b7 2700 fps")});
    EXPECT_EQ(view->picker()->currentIndex(), 0);
    EXPECT_EQ(view->picker()->currentText(), QString::fromUtf8("Add a load to compare\u2026"));
    EXPECT_TRUE(view->findChild<QPushButton*>("exportCsvButton")->isVisible());
    EXPECT_FALSE(view->findChild<QWidget*>("comparisonEmptyState")->isVisible());
    // One line through every row of the load.
    ASSERT_EQ(view->chart()->lineCount(), 1u);
    const QList<QPointF> points = view->chart()->linePoints(0);
    const auto& rows = model().loads()[0].trajectory;
    ASSERT_EQ(points.size(), qsizetype(rows.size()));
    ASSERT_FALSE(rows.empty());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(points[qsizetype(i)], QPointF(rows[i].range, rows[i].dropMOA));
    }
    // Every point lies inside the axes.
    EXPECT_LE(view->chart()->rangeAxis()->min(), rows.front().range);
    EXPECT_GE(view->chart()->rangeAxis()->max(), rows.back().range);
    EXPECT_GE(view->chart()->comeUpAxis()->max(), rows.back().dropMOA);
    // The line drawn is the trajectory page's centripetal Catmull-Rom curve through them, with
    // its knots in the plot's pixels.
    QChart& chart = *view->chart()->chart();
    QList<QPointF> knots, drawn;
    for (const QPointF& p : points) knots << chart.mapToPosition(p, view->chart()->line(0));
    for (const QPointF& p : view->chart()->line(0)->points()) drawn << chart.mapToPosition(p, view->chart()->line(0));
    EXPECT_GT(drawn.size(), knots.size());
    EXPECT_LE(test_support::polylineGap(drawn, test_support::referenceCurve(knots, 100)), 0.06);
}

// Regression: the closed picker stepped to the next bullet on every wheel notch, arrow key or
// typed letter, and each step added a load nobody had chosen.
TEST_F(ComparisonPane, ClosedPickerAddsNothingOnWheelArrowsOrTyping) {
    QComboBox* picker = nullptr;
    const QPointF centre(20, 10);
    struct Row {
        const char* name;
        std::function<void()> act;
        bool opens;
        int highlighted;  // the list's highlighted row once open
    };
    auto wheel = [&](int notches) {
        return [&, notches] {
            for (int i = 0; i < std::abs(notches); ++i) {
                QWheelEvent notch(centre, picker->mapToGlobal(centre), {}, {0, notches < 0 ? -120 : 120},
                                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(picker, &notch);
                EXPECT_FALSE(notch.isAccepted());  // left to the pane, which scrolls
            }
        };
    };
    auto key = [&](Qt::Key k) { return [&, k] { QTest::keyClick(picker, k); }; };
    auto typed = [&](const char* text) { return [&, text] { QTest::keyClicks(picker, QString::fromUtf8(text)); }; };
    const Row rows[] = {
        {"three notches down", wheel(-3), false, 0},
        {"three notches up", wheel(3), false, 0},
        {"Down", key(Qt::Key_Down), true, 0},
        {"Up", key(Qt::Key_Up), true, 0},
        {"Page Down", key(Qt::Key_PageDown), true, 0},
        {"End", key(Qt::Key_End), true, 0},
        {"type-ahead", typed("S"), true, 2},
        {"type-ahead, lower case", typed("l"), true, 3},
        {"input method", [&] {
             QInputMethodEvent commit;
             commit.setCommitString(QStringLiteral("H"));
             QApplication::sendEvent(picker, &commit);
         }, true, 1},
        {"Return", key(Qt::Key_Return), false, 0},
    };
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany)}) {
        QLocale::setDefault(locale);
        for (const Row& row : rows) {
            SCOPED_TRACE(locale.name().toStdString() + ": " + row.name);
            show();  // a new pane each time: what was typed before is forgotten
            picker = view->picker();
            picker->setFocus();
            row.act();
            EXPECT_TRUE(model().loads().empty());
            EXPECT_EQ(picker->currentIndex(), 0);
            EXPECT_EQ(picker->currentText(), QString::fromUtf8("Add a load to compare\u2026"));
            EXPECT_EQ(listOpen(), row.opens);
            if (row.opens) {
                EXPECT_EQ(highlightedRow(), row.highlighted);
            }
            EXPECT_TRUE(view->chips().empty());
            picker->hidePopup();
        }
    }
    QLocale::setDefault(QLocale::c());
}

// A load is added by a row picked from the open list: a click, Return or Space, each once.
TEST_F(ComparisonPane, ARowPickedFromTheOpenListAddsExactlyOneLoad) {
    show();
    QComboBox* picker = view->picker();
    picker->setFocus();

    QTest::keyClick(picker, Qt::Key_Down);  // opens at the placeholder
    ASSERT_TRUE(listOpen());
    QTest::keyClick(picker->view(), Qt::Key_Down);
    QTest::keyClick(picker->view(), Qt::Key_Return);
    EXPECT_FALSE(listOpen());
    EXPECT_EQ(chipTexts(), QStringList{QString::fromUtf8("Hornady ELD Match 140gr \u00b7 2700 fps")});
    EXPECT_EQ(picker->currentIndex(), 0);

    QTest::keyClicks(picker, QStringLiteral("S"));
    QTest::keyClick(picker->view(), Qt::Key_Return);
    EXPECT_FALSE(listOpen());
    ASSERT_EQ(model().loads().size(), 2u);
    EXPECT_EQ(model().loads()[1].name, "Sierra MatchKing 175gr");

    QTest::keyClick(picker, Qt::Key_Down);
    QTest::keyClick(picker->view(), Qt::Key_Down);
    QTest::keyClick(picker->view(), Qt::Key_Space);
    EXPECT_FALSE(listOpen());
    ASSERT_EQ(model().loads().size(), 3u);
    EXPECT_EQ(model().loads()[2].name, "Hornady ELD Match 140gr");

    // Escape closes the list without a pick.
    QTest::keyClick(picker, Qt::Key_Down);
    QTest::keyClick(picker->view(), Qt::Key_Down);
    QTest::keyClick(picker->view(), Qt::Key_Escape);
    EXPECT_EQ(model().loads().size(), 3u);

    // Assistive technology opens the list with the picker's press action; a row is then
    // clicked.
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(picker);
    ASSERT_NE(accessible, nullptr);
    ASSERT_NE(accessible->actionInterface(), nullptr);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_TRUE(listOpen());
    const QRect lapua = picker->view()->visualRect(picker->model()->index(3, 0));
    QTest::mouseMove(picker->view()->viewport(), lapua.center());
    QTest::mouseClick(picker->view()->viewport(), Qt::LeftButton, {}, lapua.center());
    EXPECT_FALSE(listOpen());
    ASSERT_EQ(model().loads().size(), 4u);
    EXPECT_EQ(model().loads()[3].name, QString::fromUtf8("Lapua Naturalis \u00d8, lead-free 170gr"));
    EXPECT_EQ(picker->currentText(), QString::fromUtf8("Add a load to compare\u2026"));
}

TEST_F(ComparisonPane, TheSameBulletTwiceGivesTwoCoincidingLinesInTwoColours) {
    show();
    pick("sierra-308-175-smk");
    pick("sierra-308-175-smk");
    ASSERT_EQ(view->chips().size(), 2u);
    EXPECT_EQ(view->chips()[0]->text(), view->chips()[1]->text());
    EXPECT_NE(model().loads()[0].id, model().loads()[1].id);
    EXPECT_EQ(view->chart()->line(0)->points(), view->chart()->line(1)->points());
    EXPECT_NE(view->chart()->line(0)->pen().color(), view->chart()->line(1)->pen().color());
}

TEST_F(ComparisonPane, ColoursFollowPositionsAndTheSixthLoadTakesTheFirstAgain) {
    show();
    for (int i = 0; i < 6; ++i) pick("hornady-264-140-eld");
    ASSERT_EQ(view->chips().size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(view->chips()[i]->colour(), comparisonSeriesColour(i));
        EXPECT_EQ(view->chart()->line(i)->pen().color(), comparisonSeriesColour(i));
        EXPECT_EQ(view->chart()->line(i)->pen().widthF(), 2.5);
    }
    EXPECT_EQ(view->chips()[5]->colour(), view->chips()[0]->colour());
    EXPECT_EQ(comparisonSeriesColour(0), QColor::fromRgbF(0.353f, 0.627f, 1.0f));
    EXPECT_EQ(comparisonSeriesColour(1), QColor::fromRgbF(0.960f, 0.620f, 0.200f));
    EXPECT_EQ(comparisonSeriesColour(2), QColor::fromRgbF(0.35f, 0.82f, 0.55f));
    EXPECT_EQ(comparisonSeriesColour(3), QColor::fromRgbF(0.85f, 0.52f, 0.92f));
    EXPECT_EQ(comparisonSeriesColour(4), QColor::fromRgbF(0.95f, 0.45f, 0.45f));
}

TEST_F(ComparisonPane, RemovingTheFirstLoadShiftsColoursAndRecomputesNothing) {
    show();
    pick("hornady-264-140-eld");
    pick("sierra-308-175-smk");
    pick("lapua-308-170-naturalis");
    const std::vector<ComparisonModel::Load> before = model().loads();
    const std::vector<ComparisonChip*> chipsBefore = view->chips();
    QTest::mouseClick(view->chips()[0]->removeButton(), Qt::LeftButton);
    settle();

    ASSERT_EQ(model().loads().size(), 2u);
    // The remaining loads keep their rows as they were: same row ids, same values.
    EXPECT_EQ(model().loads()[0], before[1]);
    EXPECT_EQ(model().loads()[1], before[2]);
    ASSERT_EQ(view->chips().size(), 2u);
    EXPECT_EQ(view->chips()[0]->text(), QString::fromUtf8("Sierra MatchKing 175gr \u00b7 2700 fps"));
    EXPECT_EQ(view->chips()[0], chipsBefore[1]);  // the chips that stay are kept, recoloured
    EXPECT_EQ(view->chips()[0]->colour(), comparisonSeriesColour(0));
    EXPECT_EQ(view->chips()[1]->colour(), comparisonSeriesColour(1));
    ASSERT_EQ(view->chart()->lineCount(), 2u);
    EXPECT_EQ(view->chart()->linePoints(0).front(),
              QPointF(before[1].trajectory.front().range, before[1].trajectory.front().dropMOA));
    EXPECT_EQ(view->chart()->line(0)->pen().color(), comparisonSeriesColour(0));
    EXPECT_EQ(view->findChildren<ComparisonChip*>().size(), 2);
}

TEST_F(ComparisonPane, RemovingTheLastLoadReturnsToTheEmptyState) {
    show();
    pick("sierra-308-175-smk");
    QTest::mouseClick(view->chips()[0]->removeButton(), Qt::LeftButton);
    settle();
    EXPECT_TRUE(model().loads().empty());
    EXPECT_TRUE(view->chips().empty());
    EXPECT_EQ(view->chart()->lineCount(), 0u);
    EXPECT_TRUE(view->findChild<QWidget*>("comparisonEmptyState")->isVisible());
    EXPECT_FALSE(view->findChild<QPushButton*>("exportCsvButton")->isVisible());
}

TEST_F(ComparisonPane, ChipsAndChartSpeakToAssistiveTechnology) {
    show();
    pick("hornady-264-140-eld");
    pick("sierra-308-175-smk");
    const QString first = QString::fromUtf8("Hornady ELD Match 140gr \u00b7 2700 fps");
    EXPECT_EQ(view->chips()[0]->accessibleName(), first);
    QAccessibleInterface* remove = QAccessible::queryAccessibleInterface(view->chips()[0]->removeButton());
    ASSERT_NE(remove, nullptr);
    EXPECT_EQ(remove->text(QAccessible::Name), first + ", remove");
    EXPECT_EQ(remove->role(), QAccessible::Button);
    QAccessibleActionInterface* actions = remove->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    // Pressing through the accessibility interface removes the load as a click does (the
    // press is animated, so it lands a moment later).
    actions->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_TRUE(QTest::qWaitFor([&] { return model().loads().size() <= 1; }, 10000));
    settle();
    ASSERT_EQ(model().loads().size(), 1u);
    EXPECT_EQ(model().loads()[0].name, "Sierra MatchKing 175gr");
    const QString description = view->chart()->accessibleDescription();
    EXPECT_TRUE(description.startsWith("Sierra MatchKing 175gr: ")) << description.toStdString();
    EXPECT_TRUE(description.contains(" MOA at ")) << description.toStdString();
}

TEST_F(ComparisonPane, ChipTextTruncatesTheVelocityTowardZero) {
    EXPECT_EQ(comparisonChipText("A", 2700.99), QString::fromUtf8("A \u00b7 2700 fps"));
    EXPECT_EQ(comparisonChipText("A", -12.7), QString::fromUtf8("A \u00b7 -12 fps"));
    EXPECT_EQ(comparisonChipText("A", -0.4), QString::fromUtf8("A \u00b7 0 fps"));
    EXPECT_EQ(comparisonChipText("A", 1e20), QString::fromUtf8("A \u00b7 100000000000000000000 fps"));
}

TEST_F(ComparisonPane, NarrowestWindowKeepsTheChartsMinimumHeightAndScrollsToIt) {
    // The narrowest window leaves the pane 830 points wide, where the three demonstration
    // loads' long names wrap onto further lines of chips; shorter than the content needs.
    demonstrationPreset = true;
    show(830, 560);
    QApplication::processEvents();
    ASSERT_EQ(view->chips().size(), 3u);
    EXPECT_GE(view->chart()->height(), 380);
    QWidget* content = view->scrollArea()->widget();
    for (const ComparisonChip* chip : view->chips()) {
        const QRect place(chip->mapTo(content, QPoint(0, 0)), chip->size());
        EXPECT_TRUE(content->rect().contains(place)) << chip->text().toStdString();
    }
    // The whole chart card lies in the pane's content, with the pane's padding below it; what
    // the window cannot show is reached by scrolling.
    QWidget* card = view->findChild<QWidget*>("comparisonChartCard");
    const int cardBottom = card->mapTo(content, QPoint(0, card->height())).y();
    EXPECT_EQ(content->height() - cardBottom, 16);
    EXPECT_GT(content->height(), view->scrollArea()->viewport()->height());
    EXPECT_EQ(view->scrollArea()->verticalScrollBar()->maximum(),
              content->height() - view->scrollArea()->viewport()->height());
    // A taller window needs no scrolling and gives the chart the room.
    view->resize(1090, 797);
    QApplication::processEvents();
    EXPECT_EQ(view->scrollArea()->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(content->height(), view->scrollArea()->viewport()->height());
    view->resize(1090, 1200);
    QApplication::processEvents();
    EXPECT_EQ(view->scrollArea()->verticalScrollBar()->maximum(), 0);
    EXPECT_GT(view->chart()->height(), 600);
}

TEST_F(ComparisonPane, DemonstrationPresetAddsTheThreeFactoryLoadsInItsOrder) {
    demonstrationPreset = true;
    show();
    EXPECT_EQ(chipTexts(), (QStringList{
                               QString::fromUtf8("Federal 6.5 Creedmoor 140gr ELD Match \u00b7 2700 fps"),
                               QString::fromUtf8(".308 Winchester 175gr SMK (Federal Gold Medal Match) \u00b7 2600 fps"),
                               QString::fromUtf8("300 Win Mag 178gr ELD-X (Hornady Precision Hunter) \u00b7 2960 fps"),
                           }));
    for (const ComparisonModel::Load& load : model().loads()) EXPECT_FALSE(load.trajectory.empty());
    // Coming on screen again with loads present adds nothing.
    view->appear();
    EXPECT_EQ(model().loads().size(), 3u);
}

TEST_F(ComparisonPane, DemonstrationPresetFallsBackToTheFirstFourCharacters) {
    useCatalog("fallback_catalog");
    demonstrationPreset = true;
    show();
    // "6.5 " finds the first name starting so; ".308" and "300 " find none and are skipped.
    EXPECT_EQ(chipTexts(), QStringList{QString::fromUtf8("6.5 PRC 143gr ELD-X \u00b7 2960 fps")});
}

class ComparisonExport : public ComparisonPane {
protected:
    void SetUp() override {
        ComparisonPane::SetUp();
        show();
        pick("hornady-264-140-eld");
        pick("lapua-308-170-naturalis");  // a name with a comma and a letter outside ASCII
    }
    void clickExport() { QTest::mouseClick(view->findChild<QPushButton*>("exportCsvButton"), Qt::LeftButton); }
    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

    QTemporaryDir folder;
};

// "%.2f" of `value` by the standard library's exact decimal conversion, which rounds the
// binary value half to even as printf does, independent of any locale.
std::string twoDecimals(double value) {
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2).ptr;
    return std::string(text, end);
}

TEST_F(ComparisonExport, WritesExactlyTheComparisonTextWhereTheUserChose) {
    dialogs.filesToSave.push_back(path("out.csv"));
    clickExport();
    EXPECT_EQ(dialogs.saveDefaultNames, QStringList{"kavrino-comparison.csv"});
    ASSERT_EQ(dialogs.saveNameFilters.size(), 1u);
    EXPECT_EQ(dialogs.saveNameFilters[0], QStringList{"Comma-separated values (*.csv)"});
    EXPECT_TRUE(dialogs.alertsShown.empty());

    const QByteArray bytes = read(path("out.csv"));
    EXPECT_EQ(bytes, model().comparisonCSV().toUtf8());
    // And against the loads themselves: a header naming both loads' columns, then one line per
    // row of the first load, no byte-order mark and no final line end.
    const auto& loads = model().loads();
    std::string expected = "range_yd,Hornady ELD Match 140gr dropMOA,Hornady ELD Match 140gr windMIL,"
                           "Lapua Naturalis \xc3\x98, lead-free 170gr dropMOA,Lapua Naturalis \xc3\x98, lead-free 170gr windMIL";
    for (size_t r = 0; r < loads[0].trajectory.size(); ++r) {
        char range[64];
        const auto end = std::to_chars(range, range + sizeof range, loads[0].trajectory[r].range,
                                       std::chars_format::fixed, 0).ptr;
        expected += "\n" + std::string(range, end);
        for (const auto& load : loads) {
            expected += "," + twoDecimals(load.trajectory[r].dropMOA) + "," + twoDecimals(load.trajectory[r].windDriftMil);
        }
    }
    EXPECT_EQ(bytes.toStdString(), expected);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.csv"});
}

TEST_F(ComparisonExport, ReplacesAnEarlierFileWhole) {
    write(path("out.csv"), QByteArray(1 << 16, 'x'));
    dialogs.filesToSave.push_back(path("out.csv"));
    clickExport();
    EXPECT_EQ(read(path("out.csv")), model().comparisonCSV().toUtf8());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.csv"});
}

TEST_F(ComparisonExport, CancelWritesNothingAndSaysNothing) {
    clickExport();  // no answer queued: the panel is cancelled
    EXPECT_EQ(dialogs.saveDefaultNames.size(), 1);
    EXPECT_TRUE(dialogs.alertsShown.empty());
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// Mended fault: a write that failed used to be dropped silently, so the user walked away
// believing the comparison was saved.
TEST_F(ComparisonExport, UnwritableFoldersTellTheUserTheFileWasNotSaved) {
    write(path("file"), "not a folder");
    const QString places[] = {
        path("no-such-folder/out.csv"),
        path("file/out.csv"),                   // a file where the folder should be
        QStringLiteral("/proc/kavrino-comparison.csv"),  // a folder nobody may create files in
    };
    for (const QString& place : places) {
        SCOPED_TRACE(place.toStdString());
        dialogs.alertsShown.clear();
        dialogs.filesToSave.push_back(place);
        EXPECT_EQ(exportComparisonCSV(model(), dialogs), ComparisonExportOutcome::notSaved);
        ASSERT_EQ(dialogs.alertsShown.size(), 1u);
        const Alert& alert = dialogs.alertsShown[0];
        EXPECT_EQ(alert.style, Alert::Style::warning);
        EXPECT_EQ(alert.messageText, "The comparison was not saved.");
        EXPECT_TRUE(alert.informativeText.startsWith(QString::fromUtf8("It could not be written to \u201c") +
                                                     QDir::toNativeSeparators(place) + QString::fromUtf8("\u201d: ")))
            << alert.informativeText.toStdString();
        EXPECT_GT(alert.informativeText.size(), QString::fromUtf8("It could not be written to \u201c\u201d: .").size() + place.size());
        EXPECT_FALSE(QFile::exists(place));
    }
}

// A write that stops part-way, here at the limit on the size of files this process may write
// (as on a disk that fills up): the earlier file stays, and the alert names the limit.
TEST_F(ComparisonExport, AWriteStoppedPartWayKeepsTheEarlierFileAndSaysWhy) {
    const QByteArray earlier = "range_yd,an earlier comparison";
    write(path("out.csv"), earlier);
    ASSERT_GT(model().comparisonCSV().toUtf8().size(), 200);

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead
    rlimit tight = saved;
    tight.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    dialogs.filesToSave.push_back(path("out.csv"));
    const ComparisonExportOutcome outcome = exportComparisonCSV(model(), dialogs);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(outcome, ComparisonExportOutcome::notSaved);
    ASSERT_EQ(dialogs.alertsShown.size(), 1u);
    EXPECT_EQ(dialogs.alertsShown[0].messageText, "The comparison was not saved.");
    EXPECT_TRUE(dialogs.alertsShown[0].informativeText.endsWith(
        ": the file is larger than the system lets this program write."))
        << dialogs.alertsShown[0].informativeText.toStdString();
    EXPECT_EQ(read(path("out.csv")), earlier);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.csv"});
}

// Sets or clears the append-only attribute of `folder`: files may be created in it, but no
// entry may be replaced or removed, so renaming the finished copy over the old file fails.
bool setAppendOnly(const QString& folder, bool on) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_APPEND_FL) : (flags & ~FS_APPEND_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

TEST_F(ComparisonExport, FailingRenameKeepsTheEarlierFileAndSaysWhy) {
    const QString place = folder.filePath("locked");
    ASSERT_TRUE(QDir(folder.path()).mkdir("locked"));
    const QString target = place + "/out.csv";
    write(target, "range_yd,an earlier comparison");
    if (!setAppendOnly(place, true)) GTEST_SKIP() << "this file system or user cannot set the append-only attribute";
    dialogs.filesToSave.push_back(target);
    const ComparisonExportOutcome outcome = exportComparisonCSV(model(), dialogs);
    const QByteArray after = read(target);
    setAppendOnly(place, false);
    // The copy that could not be renamed may be left beside it; the folder is removed whole.

    EXPECT_EQ(outcome, ComparisonExportOutcome::notSaved);
    ASSERT_EQ(dialogs.alertsShown.size(), 1u);
    EXPECT_EQ(dialogs.alertsShown[0].messageText, "The comparison was not saved.");
    EXPECT_EQ(after, "range_yd,an earlier comparison");
}

}  // namespace
}  // namespace kavrino
