// The import pane driven as a user drives it, offscreen, with a fake open panel and files of
// our own: chronograph files that read and that do not, applying the average, drag curves that
// become active, replace each other and are cleared, files that cannot be read, are not UTF-8
// or are too large, what the log says of each file, a German locale, large files parsed in the
// background, and what assistive technology reads from the pane.
#include "app/platform/environment.h"
#include "app/platform/platform.h"
#include "app/platform/testing/fake_dialogs.h"
#include "app/theme/components/badge.h"
#include "app/theme/components/stat_tile.h"
#include "app/theme/palette.h"
#include "core/solve_model.h"
#include "core/testing/log_capture.h"
#include "core/tests/german_numeric_locale.h"
#include "panes/import/import_view.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace kavrino {
namespace {

QString fixture(const char* name) { return QStringLiteral(KAVRINO_TEST_DATA_DIR "/") + QString::fromLatin1(name); }

class ImportPane : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override {
        view.reset();
        QThreadPool::globalInstance()->waitForDone();
        QLocale::setDefault(QLocale::c());
    }

    ImportView& show(int width = 1090, int height = 790) {
        view = std::make_unique<ImportView>(model, platform);
        view->resize(width, height);
        view->show();
        return *view;
    }

    template <typename T = QWidget>
    T* find(const char* name) const {
        T* child = view->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    bool shown(const char* name) const { return find(name)->isVisibleTo(view.get()); }
    QString status() const { return find<QLabel>("importStatus")->text(); }
    QString tile(const char* name) const { return find<StatTile>(name)->value(); }

    // Clicks `button` with the open panel answering `answer` (nothing: Cancel) and waits until
    // the pane shows the outcome.
    void clickWithFile(const char* button, std::optional<QString> answer) {
        dialogs.filesToOpen.push_back(std::move(answer));
        QSignalSpy finished(view.get(), &ImportView::fileActionFinished);
        QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton);
        if (finished.isEmpty()) {
            ASSERT_TRUE(finished.wait(30000));
        }
        ASSERT_TRUE(dialogs.filesToOpen.empty());
    }
    void chooseCsv(std::optional<QString> answer) { clickWithFile("chooseCsvButton", std::move(answer)); }
    void importCurve(std::optional<QString> answer) { clickWithFile("importDragCurveButton", std::move(answer)); }

    FixedEnvironment environment;
    FakeDialogs dialogs;
    Platform platform{environment, dialogs};
    SolveModel model;
    std::unique_ptr<ImportView> view;
};

TEST_F(ImportPane, OpensWithNoFileAndTheTwoCards) {
    show();
    EXPECT_EQ(status(), "No file loaded.");
    EXPECT_FALSE(shown("chronographTiles"));
    EXPECT_FALSE(shown("useAverageButton"));
    EXPECT_FALSE(shown("clearDragCurveButton"));
    EXPECT_FALSE(shown("activeCurveRow"));
    EXPECT_TRUE(shown("chronographCard"));
    EXPECT_TRUE(shown("dragCurveCard"));
    EXPECT_EQ(find<QLabel>("importIntro")->text(),
              QString::fromUtf8("Load a CSV from Garmin Xero, LabRadar or MagnetoSpeed \u2014 Kavrino detects the "
                                "velocity column automatically."));
    EXPECT_TRUE(find<QLabel>("dragCurveExplanation")
                    ->text()
                    .startsWith("Load a measured Doppler drag curve (two-column CSV: mach, cd) to solve with the "
                                "bullet's actual drag instead of G1/G7 \u2014 "));
    EXPECT_TRUE(model.trajectory().empty());  // the pane itself never solves
}

TEST_F(ImportPane, AChronographFileShowsItsShotsAndAFileWithoutVelocitiesRemovesThem) {
    show();
    chooseCsv(fixture("range-day.csv"));
    EXPECT_EQ(status(), "Loaded 10 shots from range-day.csv.");
    EXPECT_TRUE(shown("chronographTiles"));
    EXPECT_TRUE(shown("useAverageButton"));
    EXPECT_EQ(tile("shotsTile"), "10");
    EXPECT_EQ(tile("averageTile"), "2851");          // 28510 / 10
    EXPECT_EQ(tile("standardDeviationTile"), "5.7");  // sqrt(290 / 9) = 5.68
    EXPECT_EQ(tile("extremeSpreadTile"), "18");
    EXPECT_EQ(find<StatTile>("averageTile")->accent(), Palette::accentBright());
    EXPECT_EQ(dialogs.openTitles, QStringList{"Choose CSV"});
    EXPECT_EQ(model.muzzleVelocity(), 2650);  // reading changes nothing in the model

    chooseCsv(fixture("no-velocity.csv"));
    EXPECT_EQ(status(), "Couldn't find a velocity column in that file.");
    EXPECT_FALSE(shown("chronographTiles"));
    EXPECT_FALSE(shown("useAverageButton"));
    EXPECT_FALSE(view->series());

    chooseCsv(fixture("single-shot.csv"));
    EXPECT_EQ(tile("shotsTile"), "1");
    EXPECT_EQ(tile("standardDeviationTile"), "0.0");
    EXPECT_EQ(tile("extremeSpreadTile"), "0");
}

TEST_F(ImportPane, ApplyingTheAverageSetsItRoundedSolvesAndReportsItTruncated) {
    show();
    chooseCsv(fixture("average-2805.96.csv"));
    ASSERT_TRUE(view->series());
    EXPECT_EQ(tile("averageTile"), "2806");
    QSignalSpy modelChanges(&model, &SolveModel::changed);
    QTest::mouseClick(find<QPushButton>("useAverageButton"), Qt::LeftButton);
    EXPECT_EQ(modelChanges.count(), 1) << "observers refresh once for the velocity and its solve";
    EXPECT_EQ(model.muzzleVelocity(), 2806.0);
    EXPECT_FALSE(model.trajectory().empty());
    EXPECT_EQ(status(), "Applied 2805 fps to the active load.");
    EXPECT_TRUE(shown("chronographTiles"));  // the series stays
}

// A byte-order mark is not part of the text: the first header, number or curve row right
// after it reads as if it were not there.
TEST_F(ImportPane, AByteOrderMarkIsNotPartOfTheText) {
    show();
    chooseCsv(fixture("bom-header.csv"));
    EXPECT_EQ(status(), "Loaded 3 shots from bom-header.csv.");
    chooseCsv(fixture("bom-numbers.csv"));
    EXPECT_EQ(status(), "Loaded 3 shots from bom-numbers.csv.");
    EXPECT_EQ(tile("averageTile"), "2805");
    importCurve(fixture("bom-curve.csv"));
    EXPECT_EQ(status(), "Loaded 3-point drag curve; solving with measured Cd.");
    EXPECT_EQ(model.customCurve(), (DragCurve{{0.5, 0.25}, {0.8, 0.30}, {1.0, 0.40}}));
}

// Cancel, a missing file, a folder and a file that is not UTF-8 leave everything as it was,
// the status line included; from either card.
TEST_F(ImportPane, FilesThatCannotBeReadChangeNothing) {
    show();
    chooseCsv(fixture("range-day.csv"));
    importCurve(fixture("g7-doppler.csv"));
    chooseCsv(fixture("range-day.csv"));
    const DragCurve curve = *model.customCurve();
    const QString before = status();
    QTemporaryDir folder;
    const std::optional<QString> unusable[] = {std::nullopt, fixture("missing.csv"), folder.path(),
                                               fixture("latin1.csv")};
    for (const auto& answer : unusable) {
        SCOPED_TRACE(answer.value_or("cancel").toStdString());
        chooseCsv(answer);
        importCurve(answer);
        EXPECT_EQ(status(), before);
        ASSERT_TRUE(view->series());
        EXPECT_EQ(view->series()->velocities().size(), 10u);
        EXPECT_EQ(model.customCurve(), curve);
        EXPECT_EQ(model.customCurveName(), "g7-doppler");
    }
}

// Every line logged for the import names its file by the full path, whichever card chose it and
// whatever went wrong; an empty file says that it is empty.
TEST_F(ImportPane, TheLogNamesEachFileByItsFullPath) {
    QTemporaryDir folder;
    const QString empty = folder.filePath("empty.csv");
    ASSERT_TRUE(QFile(empty).open(QIODevice::WriteOnly));
    show();
    const struct {
        const char* button;
        QString path;
        const char* says;
    } rows[] = {
        {"chooseCsvButton", fixture("missing.csv"), "cannot be read"},
        {"chooseCsvButton", fixture("latin1.csv"), "is not UTF-8 text"},
        {"chooseCsvButton", fixture("no-velocity.csv"), "holds no velocity column"},
        {"chooseCsvButton", empty, "is empty"},
        {"importDragCurveButton", fixture("two-rows.csv"), "holds no drag curve of at least three Mach and Cd rows"},
        {"importDragCurveButton", empty, "is empty"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        const test_support::LogCapture log("kavrino.import");
        clickWithFile(row.button, row.path);
        const QString expected = QDir::toNativeSeparators(row.path) + u' ' + QLatin1String(row.says);
        EXPECT_EQ(log.messages().join(u'\n').toStdString(), expected.toStdString());
    }
}

TEST_F(ImportPane, AFileOverTheBoundIsReportedAndChangesNothing) {
    show();
    chooseCsv(fixture("range-day.csv"));
    importCurve(fixture("g7-doppler.csv"));
    const DragCurve curve = *model.customCurve();
    QTemporaryDir folder;
    QFile huge(folder.filePath("huge.csv"));  // sparse: no bytes are written
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(largestCSVFileBytes) + 1));
    huge.close();

    for (const char* button : {"chooseCsvButton", "importDragCurveButton"}) {
        SCOPED_TRACE(button);
        chooseCsv(fixture("range-day.csv"));
        clickWithFile(button, huge.fileName());
        EXPECT_EQ(status(), "Couldn't import that file: it is larger than 64 MB.");
        ASSERT_TRUE(view->series());
        EXPECT_EQ(view->series()->velocities().size(), 10u);
        EXPECT_EQ(model.customCurve(), curve);
    }
}

TEST_F(ImportPane, ADragCurveBecomesActiveIsReplacedAndCleared) {
    show();
    // Each import and each clear is one change of the shared model, so each observer refreshes
    // once; a failed import is none.
    QSignalSpy modelChanges(&model, &SolveModel::changed);
    importCurve(fixture("lot-42.csv"));
    EXPECT_EQ(modelChanges.count(), 1);
    EXPECT_EQ(dialogs.openTitles, QStringList{"Import drag curve"});
    ASSERT_TRUE(model.customCurve());
    EXPECT_EQ(model.customCurve()->size(), 42u);
    EXPECT_EQ(model.customCurveName(), "lot-42");
    EXPECT_FALSE(model.trajectory().empty());
    EXPECT_EQ(model.buildRequest().value("dragModel").toString(), "Custom");
    // The status line of the chronograph card reports the drag-curve card's file.
    EXPECT_EQ(status(), "Loaded 42-point drag curve; solving with measured Cd.");
    EXPECT_TRUE(shown("activeCurveRow"));
    EXPECT_TRUE(shown("clearDragCurveButton"));
    EXPECT_EQ(find<Badge>("activeCurveBadge")->text(), "ACTIVE");
    EXPECT_EQ(find<QLabel>("activeCurveSummary")->text(),
              QString::fromUtf8("lot-42 \u2014 42 points \u00b7 Mach 0.50\u20133.00"));

    importCurve(fixture("g7-doppler.csv"));
    EXPECT_EQ(modelChanges.count(), 2);
    EXPECT_EQ(model.customCurveName(), "g7-doppler");
    EXPECT_EQ(find<QLabel>("activeCurveSummary")->text(),
              QString::fromUtf8("g7-doppler \u2014 4 points \u00b7 Mach 0.80\u20132.00"));

    // A failed import keeps the active curve and its summary.
    importCurve(fixture("two-rows.csv"));
    EXPECT_EQ(modelChanges.count(), 2);
    EXPECT_EQ(status(),
              QString::fromUtf8("Couldn't parse a Cd-vs-Mach curve from that file (need \u22653 rows of mach,cd)."));
    EXPECT_EQ(model.customCurveName(), "g7-doppler");
    EXPECT_TRUE(shown("activeCurveRow"));

    const QString before = status();
    QTest::mouseClick(find<QPushButton>("clearDragCurveButton"), Qt::LeftButton);
    EXPECT_EQ(modelChanges.count(), 3);
    EXPECT_FALSE(model.customCurve());
    EXPECT_FALSE(model.customCurveName());
    EXPECT_FALSE(shown("activeCurveRow"));
    EXPECT_FALSE(shown("clearDragCurveButton"));
    EXPECT_EQ(status(), before);
    EXPECT_EQ(model.buildRequest().value("dragModel").toString(), "G1");
}

// A curve set elsewhere without a name shows "Clear" but no summary; a pane opened later shows
// a curve loaded before.
TEST_F(ImportPane, TheCardFollowsTheModel) {
    show();
    model.setCustomCurve(DragCurve{{0.5, 0.2}, {1, 0.4}, {2, 0.3}});
    EXPECT_TRUE(shown("clearDragCurveButton"));
    EXPECT_FALSE(shown("activeCurveRow"));
    model.setCustomCurveName(QStringLiteral("range"));
    view.reset();
    show();
    EXPECT_TRUE(shown("activeCurveRow"));
    EXPECT_EQ(status(), "No file loaded.");
}

// Numbers in a file and figures on the pane keep a full stop whatever the user's locale: Qt's
// default locale and the C library's numeric locale both German.
TEST_F(ImportPane, AGermanLocaleChangesNeitherTheFilesNorTheFigures) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const GermanNumericLocale german;
    if (german.active()) {
        EXPECT_EQ(std::strtod("2,5", nullptr), 2.5);  // the C library reads the German way now
    }
    show();
    chooseCsv(fixture("german.csv"));
    importCurve(fixture("g7-doppler.csv"));
    ASSERT_TRUE(view->series());
    EXPECT_EQ(view->series()->velocities(), (std::vector<double>{2850.5, 2851.7}));
    EXPECT_EQ(tile("averageTile"), "2851");
    EXPECT_EQ(tile("standardDeviationTile"), "0.8");
    EXPECT_EQ(find<QLabel>("activeCurveSummary")->text(),
              QString::fromUtf8("g7-doppler \u2014 4 points \u00b7 Mach 0.80\u20132.00"));
}

// Issue 11: a large file does not hold the window while it is parsed.
TEST_F(ImportPane, ALargeFileIsParsedInTheBackground) {
    QTemporaryDir folder;
    const QString chronograph = folder.filePath("long-session.csv");
    const QString curve = folder.filePath("long-curve.csv");
    {
        QFile file(chronograph);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Shot,Velocity\n");
        for (int i = 0; i < 200000; ++i) file.write(QByteArray::number(i) + (i % 2 ? ",2801\n" : ",2811\n"));
        QFile curveFile(curve);
        ASSERT_TRUE(curveFile.open(QIODevice::WriteOnly));
        for (int i = 0; i < 200000; ++i) curveFile.write(QByteArray::number(i / 40000.0, 'f', 6) + ",0.300\n");
    }
    ASSERT_GT(QFileInfo(chronograph).size(), qint64(ImportView::largestTextParsedAtOnce));
    show();
    dialogs.filesToOpen.push_back(chronograph);
    QSignalSpy finished(view.get(), &ImportView::fileActionFinished);
    find<QPushButton>("chooseCsvButton")->click();
    EXPECT_TRUE(view->isReading());
    EXPECT_FALSE(find<QPushButton>("chooseCsvButton")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("importDragCurveButton")->isEnabled());
    EXPECT_EQ(status(), "No file loaded.");
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_FALSE(view->isReading());
    EXPECT_TRUE(find<QPushButton>("chooseCsvButton")->isEnabled());
    EXPECT_EQ(status(), "Loaded 200000 shots from long-session.csv.");
    EXPECT_EQ(tile("averageTile"), "2806");

    importCurve(curve);
    EXPECT_EQ(status(), "Loaded 200000-point drag curve; solving with measured Cd.");
    EXPECT_EQ(model.customCurveName(), "long-curve");
}

// A pane that goes away while its file is parsed drops the result: nothing reaches the model.
TEST_F(ImportPane, APaneClosedWhileParsingDropsTheResult) {
    QTemporaryDir folder;
    const QString curve = folder.filePath("long-curve.csv");
    {
        QFile file(curve);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < 300000; ++i) file.write("0.5,0.3\n0.8,0.4\n");
    }
    show();
    dialogs.filesToOpen.push_back(curve);
    find<QPushButton>("importDragCurveButton")->click();
    ASSERT_TRUE(view->isReading());
    view.reset();
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_FALSE(model.customCurve());
    EXPECT_TRUE(model.trajectory().empty());
}

// What assistive technology reads: the status line, each tile's label and value, the badge and
// the summary of the active curve.
TEST_F(ImportPane, StatusTilesAndSummaryAreReadableByAssistiveTechnology) {
    show();
    chooseCsv(fixture("range-day.csv"));
    importCurve(fixture("lot-42.csv"));
    chooseCsv(fixture("range-day.csv"));
    const auto name = [](QWidget* widget) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        return accessible ? accessible->text(QAccessible::Name) : QString();
    };
    const auto description = [](QWidget* widget) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        return accessible ? accessible->text(QAccessible::Description) : QString();
    };
    EXPECT_EQ(name(find("importStatus")), "Loaded 10 shots from range-day.csv.");
    const std::pair<const char*, const char*> tiles[] = {
        {"shotsTile", "Shots"}, {"averageTile", "Average"}, {"standardDeviationTile", "Std dev"},
        {"extremeSpreadTile", "Extreme spread"}};
    for (const auto& [objectName, label] : tiles) {
        SCOPED_TRACE(objectName);
        EXPECT_EQ(name(find(objectName)), label);
        EXPECT_EQ(description(find(objectName)), tile(objectName));
    }
    EXPECT_EQ(description(find("standardDeviationTile")), "5.7");
    EXPECT_EQ(name(find("activeCurveBadge")), "ACTIVE");
    EXPECT_EQ(name(find("activeCurveSummary")), QString::fromUtf8("lot-42 \u2014 42 points \u00b7 Mach 0.50\u20133.00"));
    EXPECT_EQ(name(find("useAverageButton")), "Use average as muzzle velocity");
}

}  // namespace
}  // namespace kavrino
