// The solve pane driven as a user drives it, offscreen: typing into the number rows with and
// without Return, picking a catalog bullet, switching G1/G7, the correction toggles, the
// demonstration preset on appearance, the DOPE card export through a fake save panel, and what the
// summary strip and the trajectory table show afterwards.
#include "app/platform/environment.h"
#include "app/platform/platform.h"
#include "app/platform/testing/fake_dialogs.h"
#include "app/theme/components/metrics_strip.h"
#include "app/theme/components/number_field.h"
#include "app/theme/components/segmented_picker.h"
#include "app/theme/components/toggle_switch.h"
#include "app/theme/palette.h"
#include "core/catalog.h"
#include "core/resource_lookup.h"
#include "core/solve_model.h"
#include "core/testing/solve_counter.h"
#include "panes/solve/dope_card_export.h"
#include "panes/solve/solve_view.h"
#include "panes/solve/trajectory_table_model.h"
#include "panes/solve/trajectory_table_view.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

namespace kavrino {
namespace {

using test_support::SolveCounter;

class SolvePane : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        catalog.load(ResourceLookup(QStringLiteral(KAVRINO_TEST_DATA_DIR "/solve_catalog")));
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    // Builds the pane and puts it on screen, as the shell does when the tab is chosen.
    SolveView& show(int width = 1200, int height = 800) {
        view = std::make_unique<SolveView>(model, catalog, platform);
        view->resize(width, height);
        view->show();
        view->appear();
        QApplication::setActiveWindow(view.get());
        return *view;
    }

    template <typename T>
    T* find(const char* name) {
        T* child = view->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    // Replaces a field's text as a user does: focus, select all, type.
    NumberField* type(const char* fieldName, const QString& text) {
        auto* field = find<NumberField>(fieldName);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
        return field;
    }

    QString cell(int row, TrajectoryTableModel::Column column) const {
        const QAbstractItemModel* table = view->table()->model();
        return table->data(table->index(row, column)).toString();
    }
    QString metric(const char* key) const { return view->metricsStrip()->valueLabel(key)->text(); }

    FixedEnvironment environment;
    FakeDialogs dialogs;
    Platform platform{environment, dialogs};
    Catalog catalog;
    SolveModel model;
    std::unique_ptr<SolveView> view;
};

TEST_F(SolvePane, FirstAppearanceSolvesTheDefaults) {
    SolveCounter solves(model);
    show();
    EXPECT_EQ(solves.count(), 1);
    EXPECT_EQ(model.rangeStep(), 100);
    EXPECT_EQ(view->table()->model()->rowCount(), int(model.trajectory().size()));
    EXPECT_EQ(cell(0, TrajectoryTableModel::RangeColumn), "100");
    EXPECT_EQ(find<QLabel>("solvedInLabel")->text(), QString::asprintf("solved in %.1f ms", model.lastSolveMs()));
    EXPECT_EQ(metric("load"), ".308 168gr HPBT");
    EXPECT_EQ(metric("muzzleVelocity"), "2650 fps");
    EXPECT_EQ(metric("bc"), "0.462 G1");
    EXPECT_EQ(metric("zero"), "100 yd");
    EXPECT_TRUE(metric("stability").endsWith("\u00b7 stable"));
    EXPECT_EQ(find<QLabel>("metric_stability")->palette().color(QPalette::WindowText), Palette::green());
    EXPECT_EQ(find<QLabel>("metricTitle_muzzleVelocity")->text(), "MUZZLE VEL");
    // The default load stays supersonic to 1000 yd.
    EXPECT_EQ(metric("subsonic"), "\u2014");
    // The strip is as tall as its cells with their 12-point padding: nothing is cut.
    QApplication::processEvents();
    MetricsStrip* strip = view->metricsStrip();
    EXPECT_EQ(strip->viewport()->height(), strip->widget()->height());
    const QLabel* title = find<QLabel>("metricTitle_load");
    const QLabel* value = find<QLabel>("metric_load");
    EXPECT_GE(title->mapTo(strip, QPoint(0, 0)).y(), 12);
    EXPECT_GE(strip->height() - value->mapTo(strip, QPoint(0, value->height())).y(), 12);
}

TEST_F(SolvePane, DemonstrationPresetSetsA50YardStepOnFirstAppearance) {
    struct Row {
        const char* name;
        bool preset;
        double step;
    };
    const Row rows[] = {
        {"preset", true, 50},
        {"no preset", false, 100},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SolveModel fresh;
        SolveView pane(fresh, catalog, platform, row.preset);
        pane.show();
        pane.appear();
        EXPECT_EQ(fresh.rangeStep(), row.step);
        ASSERT_FALSE(fresh.trajectory().empty());
        EXPECT_NEAR(fresh.trajectory().front().range, row.step, 1.0);  // rows land within a step of the integrator
    }
}

TEST_F(SolvePane, LaterAppearancesLeaveExistingResultsAlone) {
    model.solve();
    SolveCounter solves(model);
    view = std::make_unique<SolveView>(model, catalog, platform, /*demonstrationPreset=*/true);
    view->show();
    view->appear();
    EXPECT_EQ(solves.count(), 0);
    EXPECT_EQ(model.rangeStep(), 100);
}

TEST_F(SolvePane, ReturnInStepCommitsAndSolves) {
    show();
    SolveCounter solves(model);
    NumberField* step = type("rangeStepField", "25");
    QTest::keyClick(step, Qt::Key_Return);
    EXPECT_EQ(model.rangeStep(), 25);
    EXPECT_EQ(solves.count(), 1);
    EXPECT_EQ(cell(0, TrajectoryTableModel::RangeColumn), "25");
    EXPECT_EQ(cell(1, TrajectoryTableModel::RangeColumn), "50");
    EXPECT_EQ(view->table()->model()->rowCount(), 40);
}

TEST_F(SolvePane, FocusLeavingCommitsWithoutSolving) {
    show();
    SolveCounter solves(model);
    type("rangeStepField", "25");
    find<NumberField>("maxRangeField")->setFocus();
    EXPECT_EQ(model.rangeStep(), 25);
    EXPECT_EQ(solves.count(), 0);
    // The results still show the previous solve.
    EXPECT_EQ(cell(0, TrajectoryTableModel::RangeColumn), "100");
    QTest::mouseClick(find<QPushButton>("solveButton"), Qt::LeftButton);
    EXPECT_EQ(solves.count(), 1);
    EXPECT_EQ(cell(0, TrajectoryTableModel::RangeColumn), "25");
}

TEST_F(SolvePane, LeavingThePaneKeepsAValueStillBeingTyped) {
    show();
    SolveCounter solves(model);
    type("windSpeedField", "12");
    view.reset();  // the shell drops the pane when another tab is chosen
    EXPECT_EQ(model.windSpeed(), 12);
    EXPECT_EQ(solves.count(), 0);
}

TEST_F(SolvePane, StripTruncatesTypedFigures) {
    show();
    QTest::keyClick(type("muzzleVelocityField", "2650.9"), Qt::Key_Return);
    EXPECT_EQ(model.muzzleVelocity(), 2650.9);
    EXPECT_EQ(metric("muzzleVelocity"), "2650 fps");
    EXPECT_EQ(find<NumberField>("muzzleVelocityField")->text(), "2,650.9");
    QTest::keyClick(type("zeroRangeField", "199.99"), Qt::Key_Return);
    EXPECT_EQ(metric("zero"), "199 yd");
}

TEST_F(SolvePane, TextThatIsNotANumberIsNotTaken) {
    show();
    NumberField* velocity = type("muzzleVelocityField", "fast");
    QTest::keyClick(velocity, Qt::Key_Return);
    EXPECT_EQ(model.muzzleVelocity(), 2650);
    EXPECT_EQ(velocity->text(), "2,650");
}

TEST_F(SolvePane, NotANumberAndInfinityAreRefusedLikeOtherUnreadableText) {
    show();
    for (const char* text : {"inf", "-inf", "nan", "infinity", "1e400"}) {
        SCOPED_TRACE(text);
        NumberField* coefficient = type("ballisticCoefficientField", text);
        QTest::keyClick(coefficient, Qt::Key_Return);
        EXPECT_EQ(model.ballisticCoefficient(), 0.462);
        EXPECT_EQ(coefficient->text(), "0.462");
    }
}

TEST_F(SolvePane, HugeAndTinyValuesShowCompactlyAndReadBackTheSame) {
    show();
    struct Row {
        const char* typed;
        double value;
        const char* shown;
    };
    const Row rows[] = {
        {"1e308", 1e308, "1E+308"},
        {"-2.5e12", -2.5e12, "-2.5E+12"},
        {"1000000000", 1e9, "1E+09"},
        {"999999999", 999999999, "999,999,999"},
        {"0.00001", 1e-5, "1E-05"},
        {"0.0001", 1e-4, "0.0001"},
        {"0", 0, "0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        NumberField* zero = type("zeroRangeField", row.typed);
        QTest::keyClick(zero, Qt::Key_Return);
        EXPECT_EQ(model.zeroRange(), row.value);
        EXPECT_EQ(zero->text(), row.shown);
        EXPECT_EQ(NumberField::parse(zero->text()), row.value);  // what is shown reads back the same
    }
}

TEST_F(SolvePane, NegativeAndZeroGoToTheModelAsTyped) {
    show();
    QTest::keyClick(type("windSpeedField", "-5"), Qt::Key_Return);
    EXPECT_EQ(model.windSpeed(), -5);
    QTest::keyClick(type("altitudeField", "0"), Qt::Key_Return);
    EXPECT_EQ(model.altitude(), 0);
}

TEST_F(SolvePane, FieldsUseTheUsersNumberFormat) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    show();
    EXPECT_EQ(find<NumberField>("ballisticCoefficientField")->text(), "0,462");
    EXPECT_EQ(find<NumberField>("muzzleVelocityField")->text(), "2.650");
    QTest::keyClick(type("ballisticCoefficientField", "0,5"), Qt::Key_Return);
    EXPECT_EQ(model.ballisticCoefficient(), 0.5);
    // Shown figures keep the full stop whatever the locale.
    EXPECT_EQ(metric("bc"), "0.500 G1");
}

TEST_F(SolvePane, SubsonicRowsOfALongerTableAreRed) {
    show();
    QTest::keyClick(type("maxRangeField", "1500"), Qt::Key_Return);
    ASSERT_TRUE(model.subsonicRange().has_value());
    EXPECT_EQ(metric("subsonic"), QString::number(qint64(*model.subsonicRange())) + " yd");
    const auto* table = view->table()->tableModel();
    int red = 0;
    for (int row = 0; row < table->rowCount(); ++row) {
        const double velocity = model.trajectory()[size_t(row)].velocity;
        const QVariant colour = table->data(table->index(row, 0), Qt::ForegroundRole);
        EXPECT_EQ(colour.isValid(), velocity < 1116.4) << "row " << row;
        if (colour.isValid()) ++red;
        if (model.trajectory()[size_t(row)].range < *model.subsonicRange()) {
            EXPECT_FALSE(colour.isValid()) << "row " << row;
        }
    }
    EXPECT_GT(red, 0);
}

TEST_F(SolvePane, PickingABulletAppliesItSolvesOnceAndShowsCustomAgain) {
    show();
    auto* picker = find<QComboBox>("bulletPicker");
    ASSERT_EQ(picker->count(), 3);
    EXPECT_EQ(picker->itemText(0), "Custom");
    EXPECT_EQ(picker->itemText(1), "Berger Juggernaut OTM 185gr");
    SolveCounter solves(model);
    picker->setFocus();
    // Regression: the wheel over the closed picker, as when scrolling the form, and the arrow
    // keys on it applied the next bullet, replacing the coefficient and weight the user had
    // typed. Now the wheel passes to the form and Down opens the list.
    const QPointF centre(20, 10);
    QWheelEvent notch(centre, picker->mapToGlobal(centre), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(picker, &notch);
    QTest::keyClick(picker, Qt::Key_Down);
    EXPECT_EQ(solves.count(), 0);
    EXPECT_EQ(model.bulletName(), ".308 168gr HPBT");
    ASSERT_TRUE(picker->view()->isVisible());
    QTest::keyClick(picker->view(), Qt::Key_Down);
    QTest::keyClick(picker->view(), Qt::Key_Return);
    EXPECT_EQ(solves.count(), 1);
    EXPECT_EQ(model.bulletName(), "Berger Juggernaut OTM 185gr");
    EXPECT_EQ(model.dragModel(), DragModel::G7);
    EXPECT_EQ(model.ballisticCoefficient(), 0.283);
    EXPECT_EQ(picker->currentText(), "Custom");
    EXPECT_EQ(metric("load"), "Berger Juggernaut OTM 185gr");
    EXPECT_EQ(metric("bc"), "0.283 G7");
    EXPECT_EQ(find<SegmentedPicker>("dragModelPicker")->selectedIndex(), 1);
    EXPECT_EQ(find<NumberField>("bulletWeightField")->text(), "185.4");
    // The muzzle velocity is the user's, not the bullet's.
    EXPECT_EQ(model.muzzleVelocity(), 2650);
}

TEST_F(SolvePane, ChoosingCustomDoesNothing) {
    show();
    SolveCounter solves(model);
    auto* picker = find<QComboBox>("bulletPicker");
    emit picker->activated(0);
    EXPECT_EQ(solves.count(), 0);
    EXPECT_EQ(model.bulletName(), ".308 168gr HPBT");
}

TEST_F(SolvePane, EmptyCatalogOffersOnlyCustom) {
    Catalog empty;
    SolveView pane(model, empty, platform);
    auto* picker = pane.findChild<QComboBox*>("bulletPicker");
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->count(), 1);
    EXPECT_EQ(picker->itemText(0), "Custom");
}

TEST_F(SolvePane, SwitchingDragModelSolvesOnceTheSelectedSegmentNever) {
    show();
    auto* dragModel = find<SegmentedPicker>("dragModelPicker");
    EXPECT_EQ(dragModel->selectedIndex(), 0);
    SolveCounter solves(model);
    QTest::mouseClick(dragModel, Qt::LeftButton, {}, dragModel->segmentRect(1).center());
    EXPECT_EQ(model.dragModel(), DragModel::G7);
    EXPECT_EQ(solves.count(), 1);
    EXPECT_EQ(metric("bc"), "0.462 G7");
    QTest::mouseClick(dragModel, Qt::LeftButton, {}, dragModel->segmentRect(1).center());
    EXPECT_EQ(solves.count(), 1);
    model.setDragModel(DragModel::custom);
    EXPECT_EQ(dragModel->selectedIndex(), -1);
    EXPECT_EQ(metric("bc"), "0.462 Custom");
}

TEST_F(SolvePane, AssistiveTechnologyReadsTheStripFiguresAndTheDragModelSegments) {
    show();
    // Each strip figure is read as it is shown, described by its cell title.
    QAccessibleInterface* velocity =
        QAccessible::queryAccessibleInterface(find<QLabel>("metric_muzzleVelocity"));
    ASSERT_NE(velocity, nullptr);
    EXPECT_EQ(velocity->text(QAccessible::Name), "2650 fps");
    EXPECT_EQ(velocity->text(QAccessible::Description), "Muzzle Vel");

    // The drag model picker names its segments, reports the lit one and can be operated.
    auto* dragModel = find<SegmentedPicker>("dragModelPicker");
    QAccessibleInterface* picker = QAccessible::queryAccessibleInterface(dragModel);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->text(QAccessible::Name), "Drag model");
    EXPECT_EQ(picker->text(QAccessible::Value), "G1");
    ASSERT_EQ(picker->childCount(), 2);
    QAccessibleInterface* g7 = picker->child(1);
    EXPECT_EQ(g7->text(QAccessible::Name), "G7");
    EXPECT_EQ(g7->role(), QAccessible::RadioButton);
    EXPECT_TRUE(picker->child(0)->state().checked);
    EXPECT_FALSE(g7->state().checked);
    SolveCounter solves(model);
    g7->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(model.dragModel(), DragModel::G7);
    EXPECT_EQ(solves.count(), 1);
    EXPECT_EQ(picker->text(QAccessible::Value), "G7");
    EXPECT_TRUE(g7->state().checked);
    model.setDragModel(DragModel::custom);
    EXPECT_EQ(picker->text(QAccessible::Value), "");
}

TEST_F(SolvePane, CoriolisOnAndOffSolvesTwice) {
    show();
    auto* coriolis = find<ToggleSwitch>("coriolisToggle");
    EXPECT_FALSE(coriolis->isChecked());
    SolveCounter solves(model);
    QTest::mouseClick(coriolis, Qt::LeftButton);
    EXPECT_TRUE(model.includeCoriolis());
    QTest::mouseClick(coriolis, Qt::LeftButton);
    EXPECT_FALSE(model.includeCoriolis());
    EXPECT_EQ(solves.count(), 2);
    auto* spinDrift = find<ToggleSwitch>("spinDriftToggle");
    EXPECT_TRUE(spinDrift->isChecked());
    QTest::mouseClick(spinDrift, Qt::LeftButton);
    EXPECT_FALSE(model.includeSpinDrift());
    EXPECT_EQ(solves.count(), 3);
}

TEST_F(SolvePane, SplitLimitsAndOneColumnOfFields) {
    show(1200, 800);
    QSplitter* split = view->splitter();
    QWidget* form = split->widget(0);
    QWidget* results = split->widget(1);
    EXPECT_EQ(form->width(), 340);
    EXPECT_EQ(form->minimumWidth(), 300);
    EXPECT_EQ(form->maximumWidth(), 420);
    EXPECT_EQ(results->minimumWidth(), 540);
    split->setSizes({1000, 10000});
    EXPECT_EQ(form->width(), 420);
    split->setSizes({10, 10000});
    EXPECT_EQ(form->width(), 300);
    view->resize(600, 800);  // narrower than both limits: neither side gives way
    EXPECT_GE(form->width(), 300);
    EXPECT_GE(results->width(), 540);

    const QList<NumberField*> fields = view->findChildren<NumberField*>();
    ASSERT_EQ(fields.size(), 14);
    const int right = fields.front()->mapTo(view.get(), QPoint(fields.front()->width(), 0)).x();
    for (NumberField* field : fields) {
        SCOPED_TRACE(field->objectName().toStdString());
        EXPECT_EQ(field->width(), 84);
        EXPECT_EQ(field->mapTo(view.get(), QPoint(field->width(), 0)).x(), right);
    }
}

class SolvePaneExport : public SolvePane {
protected:
    QTemporaryDir folder;
    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    void clickExport() { QTest::mouseClick(find<QPushButton>("exportDopeButton"), Qt::LeftButton); }
    static QByteArray read(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(SolvePaneExport, SavesTheCardWhereTheUserChose) {
    show();
    dialogs.filesToSave.push_back(path("card.pdf"));
    clickExport();
    EXPECT_EQ(dialogs.saveDefaultNames, QStringList{"kavrino-dope-card.pdf"});
    ASSERT_EQ(dialogs.saveNameFilters.size(), 1u);
    ASSERT_EQ(dialogs.saveNameFilters[0].size(), 1);
    EXPECT_TRUE(dialogs.saveNameFilters[0][0].endsWith("(*.pdf)"));
    EXPECT_TRUE(dialogs.alertsShown.empty());
    const QByteArray card = read(path("card.pdf"));
    EXPECT_TRUE(card.startsWith("%PDF"));
    EXPECT_TRUE(card.trimmed().endsWith("%%EOF"));
}

TEST_F(SolvePaneExport, ReplacesAnEarlierCardWhole) {
    show();
    QFile old(path("card.pdf"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(1 << 20, 'x'));
    old.close();
    dialogs.filesToSave.push_back(path("card.pdf"));
    clickExport();
    const QByteArray card = read(path("card.pdf"));
    EXPECT_TRUE(card.startsWith("%PDF"));
    EXPECT_FALSE(card.contains("xxxx"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"card.pdf"});
}

TEST_F(SolvePaneExport, CancelWritesNothingAndSaysNothing) {
    show();
    clickExport();  // no answer queued: the panel is cancelled
    EXPECT_EQ(dialogs.saveDefaultNames.size(), 1);
    EXPECT_TRUE(dialogs.alertsShown.empty());
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// Mended fault: a write that failed used to be dropped silently, so the user walked away
// believing a card was saved.
TEST_F(SolvePaneExport, UnwritablePlaceTellsTheUserTheCardWasNotSaved) {
    show();
    const QString place = path("no-such-folder/card.pdf");
    dialogs.filesToSave.push_back(place);
    clickExport();
    ASSERT_EQ(dialogs.alertsShown.size(), 1u);
    EXPECT_EQ(dialogs.alertsShown[0].messageText, "The DOPE card was not saved.");
    EXPECT_TRUE(dialogs.alertsShown[0].informativeText.contains(QDir::toNativeSeparators(place)));
    EXPECT_FALSE(QFile::exists(place));
    // Regression: the drawing's progress stayed open behind the alert and, half a second on,
    // came up over it, covering the reason.
    EXPECT_EQ(dialogs.alertsOverProgress, 0);
}

// Mended fault: a render that gave no bytes used to be written as an empty file.
TEST_F(SolvePaneExport, EmptyRenderWritesNoFileAndKeepsTheOldOne) {
    QFile old(path("card.pdf"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("%PDF earlier card");
    old.close();
    dialogs.filesToSave.push_back(path("card.pdf"));
    const auto outcome = exportDopeCard(model, dialogs, [](const DopeCardPDF::Meta&, std::span<const TrajectoryPoint>,
                                                           const DopeCardPDF::RenderProgress&) {
        return QByteArray();
    });
    EXPECT_EQ(outcome, DopeExportOutcome::notSaved);
    ASSERT_EQ(dialogs.alertsShown.size(), 1u);
    EXPECT_EQ(dialogs.alertsShown[0].messageText, "The DOPE card was not saved.");
    EXPECT_EQ(read(path("card.pdf")), "%PDF earlier card");
}

TEST_F(SolvePaneExport, SolvesFirstWhenThereIsNoTrajectoryAndPrintsTheHeading) {
    ASSERT_TRUE(model.trajectory().empty());
    model.setDragModel(DragModel::G7);
    model.setWindSpeed(10);
    DopeCardPDF::Meta drawn;
    size_t rows = 0;
    dialogs.filesToSave.push_back(path("card.pdf"));
    const auto outcome = exportDopeCard(model, dialogs, [&](const DopeCardPDF::Meta& meta,
                                                            std::span<const TrajectoryPoint> points,
                                                            const DopeCardPDF::RenderProgress&) {
        drawn = meta;
        rows = points.size();
        return QByteArray("%PDF");
    });
    EXPECT_EQ(outcome, DopeExportOutcome::saved);
    EXPECT_EQ(rows, 10u);
    EXPECT_EQ(drawn.dragModel, "G7");
    EXPECT_EQ(drawn.conditions, QString::fromUtf8("59°F · 29.92 inHg · 0 ft · 10 mph @ 90°"));
}

// Mended fault: a card of thousands of pages was drawn before the save panel appeared, freezing
// the window for seconds, and could not be stopped.
TEST_F(SolvePaneExport, AsksWhereFirstThenDrawsWithProgressTheUserCanCancel) {
    show();
    model.setMaxRange(20000);  // a long card: many pages
    model.setRangeStep(5);
    model.solve();
    const size_t rows = model.trajectory().size();
    ASSERT_GT(rows, 300u);

    // Cancelling the save panel draws nothing at all.
    bool drew = false;
    const auto noDrawing = [&](const DopeCardPDF::Meta&, std::span<const TrajectoryPoint>,
                               const DopeCardPDF::RenderProgress&) {
        drew = true;
        return QByteArray("%PDF");
    };
    EXPECT_EQ(exportDopeCard(model, dialogs, noDrawing), DopeExportOutcome::cancelled);
    EXPECT_FALSE(drew);

    // Cancelling the progress midway writes nothing and says nothing.
    dialogs.filesToSave.push_back(path("card.pdf"));
    dialogs.cancelProgressAt = 100;
    EXPECT_EQ(exportDopeCard(model, dialogs), DopeExportOutcome::cancelled);
    EXPECT_EQ(dialogs.progressLabels.size(), 1);
    ASSERT_FALSE(dialogs.progressReported.empty());
    EXPECT_GE(dialogs.progressReported.back(), 100);
    EXPECT_LT(dialogs.progressReported.back(), int(rows));
    EXPECT_TRUE(dialogs.alertsShown.empty());
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());

    // Left to finish, the progress reaches every row and the card is written.
    dialogs.progressReported.clear();
    dialogs.cancelProgressAt = -1;
    dialogs.filesToSave.push_back(path("card.pdf"));
    EXPECT_EQ(exportDopeCard(model, dialogs), DopeExportOutcome::saved);
    EXPECT_EQ(dialogs.progressReported.back(), int(rows));
    EXPECT_TRUE(read(path("card.pdf")).startsWith("%PDF"));
}

}  // namespace
}  // namespace kavrino
