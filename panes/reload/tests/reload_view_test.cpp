// The reload pane driven as a user drives it, offscreen, over the fixture catalog in
// data/catalog: the loading, failure and split views; the form's rows and pickers; the slider,
// the barrel length field; the tiles, badges, charts and load-data card; and what assistive
// technology reads.
#include "app/theme/components/badge.h"
#include "app/theme/components/form_section.h"
#include "app/theme/components/number_field.h"
#include "app/theme/components/stat_tile.h"
#include "app/theme/palette.h"
#include "app/theme/testing/axis_labels.h"
#include "panes/reload/busy_indicator.h"
#include "panes/reload/charge_chart.h"
#include "panes/reload/charge_slider.h"
#include "panes/reload/elided_label.h"
#include "panes/reload/prediction_column.h"
#include "panes/reload/reload_form.h"
#include "panes/reload/reload_selection.h"
#include "panes/reload/reload_texts.h"
#include "panes/reload/reload_view.h"
#include "reload/reload_catalog.h"
#include "reload/testing/altered_fixtures.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLocale>
#include <QSignalSpy>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <utility>

namespace kavrino {
namespace {

using test_support::axisLabels;
using test_support::readsNegativeZero;

const QString kFixtures = QStringLiteral(KAVRINO_TEST_DATA_DIR "/catalog");
const QString kDash = QStringLiteral("\u2014");

// A copy of the fixture folder with one file replaced (empty content: the file is left out).
struct AlteredFixtures : test_support::AlteredFixtures {
    AlteredFixtures(const QString& name, const QByteArray& content)
        : test_support::AlteredFixtures(kFixtures, name, content) {}
};

class ReloadPane : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override {
        view.reset();
        QLocale::setDefault(QLocale::c());
    }

    // Builds the pane and puts it on screen, as the shell does when the tab is chosen.
    ReloadView& show(ReloadCatalog& over, int width = 1090, int height = 800) {
        view = std::make_unique<ReloadView>(over);
        view->resize(width, height);
        view->show();
        view->appear();
        return *view;
    }
    // ... and waits for the catalog to finish loading.
    ReloadView& showLoaded(int width = 1090, int height = 800) {
        show(catalog, width, height);
        QSignalSpy spy(&catalog, &ReloadCatalog::changed);
        while (!catalog.loaded() && !catalog.loadFailed()) {
            if (!spy.wait(10000)) break;
        }
        EXPECT_TRUE(catalog.loaded());
        QApplication::processEvents();
        return *view;
    }

    template <typename T>
    T* find(const char* name) const {
        T* child = view->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QString text(const char* name) const {
        if (auto* elided = view->findChild<ElidedLabel*>(QString::fromLatin1(name))) return elided->text();
        return find<QLabel>(name)->text();
    }
    bool shown(const char* name) const { return find<QWidget>(name)->isVisibleTo(view.get()); }
    StatTile* tile(const char* name) const { return find<StatTile>(name); }
    std::optional<Ballistics::Prediction> prediction() const { return view->selection().predict(); }
    QStringList items(const char* picker) const {
        QStringList result;
        auto* box = find<QComboBox>(picker);
        for (int i = 0; i < box->count(); ++i) result << box->itemText(i);
        return result;
    }
    void pick(const char* picker, const QString& itemText) {
        auto* box = find<QComboBox>(picker);
        const int index = box->findText(itemText);
        ASSERT_GE(index, 0) << itemText.toStdString();
        box->setCurrentIndex(index);
        emit box->activated(index);
        QApplication::processEvents();
    }

    ReloadCatalog catalog{ResourceLookup(kFixtures)};
    std::unique_ptr<ReloadView> view;
};

TEST_F(ReloadPane, LoadsInTheBackgroundShowingProgressThenTheSplitView) {
    show(catalog);
    // The catalog's result comes back through the event loop: until then the loading view.
    EXPECT_EQ(view->currentView()->objectName(), "loadingView");
    EXPECT_EQ(text("loadingText"), "Loading load data\u2026");
    EXPECT_TRUE(find<BusyIndicator>("loadingIndicator")->isTurning());
    QAccessibleInterface* indicator = QAccessible::queryAccessibleInterface(find<BusyIndicator>("loadingIndicator"));
    ASSERT_NE(indicator, nullptr);
    EXPECT_EQ(indicator->role(), QAccessible::ProgressBar);

    QSignalSpy spy(&catalog, &ReloadCatalog::changed);
    ASSERT_TRUE(spy.wait(10000));
    EXPECT_EQ(view->currentView(), view->splitter());
    EXPECT_FALSE(find<BusyIndicator>("loadingIndicator")->isTurning()) << "stops once hidden";
    EXPECT_EQ(view->form()->minimumWidth(), 300);
    EXPECT_EQ(view->form()->maximumWidth(), 420);
    EXPECT_EQ(view->predictionColumn()->minimumWidth(), 540);
}

TEST_F(ReloadPane, AFailedLoadShowsTheFailureAndTheNextAppearanceTriesAgain) {
    AlteredFixtures files("app_powders.json", {});
    ReloadCatalog broken{ResourceLookup(files.dir.path())};
    show(broken);
    QSignalSpy spy(&broken, &ReloadCatalog::changed);
    ASSERT_TRUE(spy.wait(10000));
    ASSERT_TRUE(broken.loadFailed());
    EXPECT_EQ(view->currentView()->objectName(), "failureView");
    EXPECT_EQ(text("failureText"),
              "The reload catalog failed to load. Reinstall the app to restore bundled data.");
    EXPECT_FALSE(find<QLabel>("failureSymbol")->pixmap().isNull());

    QFile::copy(kFixtures + "/app_powders.json", files.dir.filePath("app_powders.json"));
    view->appear();  // the pane comes on screen again
    EXPECT_EQ(view->currentView()->objectName(), "loadingView");
    while (!broken.loaded() && !broken.loadFailed()) ASSERT_TRUE(spy.wait(10000));
    EXPECT_EQ(view->currentView(), view->splitter());
    EXPECT_EQ(view->selection().cartridge(), "6.5 CREEDMOOR");
}

TEST_F(ReloadPane, FirstAppearanceShowsTheCreedmoorWithItsDefaultLoad) {
    showLoaded();
    // The middle section claims nothing about where the loads come from.
    QStringList sections;
    for (const FormSection* section : view->form()->findChildren<FormSection*>()) sections << section->title();
    EXPECT_EQ(sections, QStringList({"Cartridge", "Load", "Charge"}));
    EXPECT_EQ(find<QComboBox>("cartridgePicker")->currentText(), "6.5 CREEDMOOR");
    EXPECT_EQ(items("cartridgePicker"),
              QStringList({".308 Winchester", "6.5 CREEDMOOR", "7mm Rem Mag", "Alpha 22", "Beta 30"}));
    EXPECT_EQ(text("caseCapacityValue"), "52.5 gr H\u2082O");
    EXPECT_EQ(text("maxPressureValue"), "62,000 psi SAAMI");
    EXPECT_EQ(items("loadPicker"), QStringList({"150 gr \u00b7 H4350", "160 gr \u00b7 Reloder 16",
                                                "140 gr \u00b7 H4350", "147 gr \u00b7 IMR 4350"}));
    EXPECT_EQ(find<QComboBox>("loadPicker")->currentText(), "140 gr \u00b7 H4350");
    EXPECT_EQ(text("powderValue"), "Hodgdon H4350");
    EXPECT_EQ(text("bulletValue"), "140 gr \u00b7 0.264\"");
    EXPECT_EQ(text("sourceValue"), "Fixture source A");
    EXPECT_EQ(find<NumberField>("barrelLengthField")->text(), "26") << "the load's own barrel";

    const double charge = view->selection().chargeGr();
    EXPECT_EQ(text("chargeValue"), QString::asprintf("%.1f gr", charge));
    EXPECT_EQ(text("startChargeLabel"), "start 38.0");
    EXPECT_EQ(text("maxChargeLabel"), "max 42.0");
    auto* slider = find<ChargeSlider>("chargeSlider");
    EXPECT_EQ(slider->startCharge(), 38.0);
    EXPECT_EQ(slider->maxCharge(), 42.0);
    EXPECT_EQ(slider->charge(), charge);

    const auto p = prediction();
    ASSERT_TRUE(p && p->pressurePsi);
    EXPECT_EQ(tile("muzzleVelocityTile")->value(), QString::asprintf("%.0f fps", p->velocityFps));
    EXPECT_EQ(tile("peakPressureTile")->value(), QLocale().toString(qlonglong(*p->pressurePsi)) + " psi");
    EXPECT_EQ(tile("caseFillTile")->value(), QString::asprintf("%.0f %%", p->caseFillPercent));
    EXPECT_EQ(tile("saamiMarginTile")->value(),
              QString::asprintf("%+.0f %%", (62000 - *p->pressurePsi) / 62000 * 100));
    EXPECT_EQ(tile("muzzleVelocityTile")->accent(), Palette::accentBright());
    EXPECT_EQ(tile("peakPressureTile")->accent(), Palette::textPrimary());
    EXPECT_EQ(tile("caseFillTile")->accent(), Palette::textPrimary());
    EXPECT_EQ(tile("saamiMarginTile")->accent(), Palette::green());
    EXPECT_FALSE(shown("overSaamiBadge"));
    EXPECT_TRUE(shown("engineBadge"));
    EXPECT_EQ(find<Badge>("engineBadge")->color(), Palette::orange());
    EXPECT_EQ(find<Badge>("engineBadge")->text(), find<Badge>("engineBadge")->text().toUpper());
}

TEST_F(ReloadPane, ChartsPlotTheSweepWithTheChargeAndTheSaamiRule) {
    showLoaded();
    ChargeChart* velocity = view->predictionColumn()->velocityChart();
    ChargeChart* pressure = view->predictionColumn()->pressureChart();
    const auto sweep = view->selection().chargeSweep();
    ASSERT_EQ(sweep.size(), 29u);
    ASSERT_EQ(velocity->curve().size(), 29);
    ASSERT_EQ(pressure->curve().size(), 29);
    EXPECT_EQ(velocity->curve()[1], QPointF(sweep[1].chargeGr, sweep[1].velocityFps));
    EXPECT_EQ(pressure->curve()[28].y(), *sweep[28].pressurePsi);
    EXPECT_EQ(velocity->xAxis()->min(), 38.0);
    EXPECT_EQ(velocity->xAxis()->max(), 42.0);
    EXPECT_LE(velocity->yAxis()->min(), 0.995 * sweep.front().velocityFps) << "the area's floor is in view";
    EXPECT_GT(velocity->yAxis()->min(), 0) << "the scale need not include zero";
    EXPECT_GE(pressure->yAxis()->max(), 62000) << "the SAAMI rule is in view";
    EXPECT_EQ(pressure->limit(), 62000);
    EXPECT_EQ(pressure->annotation(), "SAAMI MAX 62,000 PSI");

    const double charge = view->selection().chargeGr();
    const auto p = prediction();
    EXPECT_EQ(velocity->markerPoint(), QPointF(charge, p->velocityFps));
    EXPECT_EQ(pressure->markerPoint(), QPointF(charge, *p->pressurePsi));
    EXPECT_TRUE(velocity->markerRuleVisible());
    EXPECT_EQ(velocity->markerColour(), Palette::accentBright());
    EXPECT_EQ(pressure->markerColour(), Palette::orange());

    // What assistive technology reads of the charts: title, figures and the annotation.
    EXPECT_EQ(velocity->accessibleName(), "Muzzle velocity vs charge");
    EXPECT_EQ(pressure->accessibleName(), "Peak chamber pressure vs charge");
    EXPECT_TRUE(pressure->accessibleDescription().contains("SAAMI MAX 62,000 PSI"));
    EXPECT_TRUE(velocity->accessibleDescription().contains(QString::asprintf("Charge %.1f gr", charge)));
}

TEST_F(ReloadPane, TheSliderRepredictsAndMovesOnlyTheChargeOnTheCharts) {
    showLoaded();
    ChargeChart* velocity = view->predictionColumn()->velocityChart();
    ChargeChart* pressure = view->predictionColumn()->pressureChart();
    const int rebuilds = velocity->curveRebuilds() + pressure->curveRebuilds();
    auto* slider = find<ChargeSlider>("chargeSlider");
    slider->setFocus();
    const QString barrel = find<NumberField>("barrelLengthField")->text();
    const QString load = view->selection().loadId();

    // Dragging the knob: every position is a new charge between start and maximum.
    for (int position : {slider->maximum() / 3, slider->maximum() / 2 + 7, slider->maximum() * 2 / 3}) {
        slider->setSliderPosition(position);
        QApplication::processEvents();
        const double charge = view->selection().chargeGr();
        EXPECT_EQ(charge, 38.0 + 4.0 * (double(position) / slider->maximum()));
        EXPECT_EQ(text("chargeValue"), QString::asprintf("%.1f gr", charge));
        EXPECT_EQ(tile("muzzleVelocityTile")->value(), QString::asprintf("%.0f fps", prediction()->velocityFps));
        EXPECT_EQ(velocity->markerPoint()->x(), charge);
        EXPECT_EQ(pressure->markerPoint()->y(), *prediction()->pressurePsi);
        // The charts read the figures as the tiles show them (rounded velocity, grouped pressure).
        EXPECT_TRUE(velocity->accessibleDescription().endsWith(tile("muzzleVelocityTile")->value()))
            << velocity->accessibleDescription().toStdString();
        EXPECT_TRUE(pressure->accessibleDescription().contains(": " + tile("peakPressureTile")->value() + "."));
    }
    EXPECT_EQ(velocity->curveRebuilds() + pressure->curveRebuilds(), rebuilds) << "the curves stay as they are";
    EXPECT_EQ(find<NumberField>("barrelLengthField")->text(), barrel);
    EXPECT_EQ(view->selection().loadId(), load);

    QTest::keyClick(slider, Qt::Key_End);
    EXPECT_EQ(view->selection().chargeGr(), 42.0) << "the end is the maximum exactly";
    QTest::keyClick(slider, Qt::Key_Home);
    EXPECT_EQ(view->selection().chargeGr(), 38.0);
}

// The point at the start or the maximum charge lies on the plot's edge: it is drawn whole, half
// of it outside the plot, on the x scale of the load's charges.
TEST_F(ReloadPane, ThePointAtEitherEndOfTheChargesShowsWhole) {
    showLoaded();
    for (const auto& [key, atStart] : {std::pair(Qt::Key_Home, true), std::pair(Qt::Key_End, false)}) {
        QTest::keyClick(find<ChargeSlider>("chargeSlider"), key);
        QApplication::processEvents();
        const PredictionColumn& column = *view->predictionColumn();
        for (ChargeChart* chart : {column.velocityChart(), column.pressureChart()}) {
            SCOPED_TRACE(chart->objectName().toStdString() + (atStart ? " at the start" : " at the maximum"));
            EXPECT_EQ(chart->xAxis()->min(), 38.0);
            EXPECT_EQ(chart->xAxis()->max(), 42.0);
            const QRectF plot = chart->chart()->plotArea();
            const QRectF point = chart->pointRect();
            EXPECT_NEAR(point.width(), std::sqrt(90.0), 1e-9);
            EXPECT_NEAR(point.center().x(), atStart ? plot.left() : plot.right(), 0.5);
            // Pixels of the point's colour outside the plot, beside the edge.
            const QImage image = chart->grab().toImage();
            const QColor colour = chart->markerColour();
            int outside = 0;
            for (int y = int(point.top()); y <= int(point.bottom()); ++y) {
                for (int x = int(point.left()); x <= int(point.right()); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    const int difference = std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                                           std::abs(c.blue() - colour.blue());
                    const bool beyond = atStart ? x < plot.left() - 1 : x > plot.right() + 1;
                    outside += beyond && difference < 40;
                }
            }
            EXPECT_GE(outside, 10) << "pixels of the point beyond the plot's edge";
        }
    }
}

// An empty chart (0 to 1) and flat data (every value alike, at zero or not) give vertical
// labels that differ from one another, in the user's number format.
TEST(ChargeChartAxis, EmptyAndFlatDataGiveDistinctLabels) {
    for (const QLocale& locale :
         {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::German, QLocale::Germany)}) {
        QLocale::setDefault(locale);
        ChargeChart chart({"Chart", "Velocity (fps)", reload_texts::velocity, Palette::accent(), true});
        chart.resize(600, 190);
        chart.show();
        const struct {
            const char* name;
            QList<QPointF> points;
        } rows[] = {
            {"empty", {}},
            {"flat at zero", {{38, 0}, {40, 0}, {42, 0}}},
            {"flat", {{38, 2700}, {40, 2700}, {42, 2700}}},
        };
        for (const auto& row : rows) {
            SCOPED_TRACE(locale.name().toStdString() + ", " + row.name);
            chart.setCurve(row.points, 38, 42, row.points.isEmpty() ? 0 : row.points.front().y());
            QApplication::processEvents();
            const QStringList labels = axisLabels(*chart.chart(), Qt::Vertical);
            ASSERT_GE(labels.size(), 3) << labels.join(' ').toStdString();
            EXPECT_EQ(QStringList(labels).removeDuplicates(), 0) << labels.join(' ').toStdString();
            for (const QString& label : labels) EXPECT_FALSE(readsNegativeZero(label)) << label.toStdString();
        }
        if (locale.language() == QLocale::German) {
            chart.setCurve({}, 0, 1);
            QApplication::processEvents();
            EXPECT_EQ(axisLabels(*chart.chart(), Qt::Vertical),
                      QStringList({"1,0", "0,8", "0,6", "0,4", "0,2", "0,0"}));
        }
    }
    QLocale::setDefault(QLocale::c());
}

TEST_F(ReloadPane, OverTheMaximumTheBadgeAndTheRedFigures) {
    showLoaded();
    QTest::keyClick(find<ChargeSlider>("chargeSlider"), Qt::Key_End);  // 42.0 gr: about 64,000 psi
    const auto p = prediction();
    ASSERT_TRUE(p && p->overMax);
    EXPECT_TRUE(shown("overSaamiBadge"));
    EXPECT_EQ(find<Badge>("overSaamiBadge")->text(), "OVER SAAMI");
    EXPECT_EQ(find<Badge>("overSaamiBadge")->color(), Palette::red());
    EXPECT_EQ(tile("peakPressureTile")->accent(), Palette::red());
    EXPECT_EQ(tile("saamiMarginTile")->accent(), Palette::red());
    EXPECT_TRUE(tile("saamiMarginTile")->value().startsWith("-"));
    EXPECT_EQ(view->predictionColumn()->pressureChart()->markerColour(), Palette::red());

    QTest::keyClick(find<ChargeSlider>("chargeSlider"), Qt::Key_Home);
    EXPECT_FALSE(shown("overSaamiBadge"));
    EXPECT_EQ(view->predictionColumn()->pressureChart()->markerColour(), Palette::orange());
}

TEST_F(ReloadPane, ExactlyAtTheMaximumAPlusZeroMarginAndNoBadge) {
    // The case maximum set to the pressure predicted at the start charge, written so that it
    // reads back as the same double.
    const Ballistics::Inputs inputs{.chargeGr = 38.0, .bulletWeightGr = 140, .bulletDiameterIn = 0.264,
                                    .barrelLengthIn = 26, .caseCapacityGrH2o = 52.5, .trimLengthIn = 1.91};
    const PowderParams h4350{.kv = 3600000, .c0Gr = 2.0, .kp = 16000, .b = 1.0, .gamma = 1.24};
    const double atStart = *Ballistics::predict(inputs, h4350, std::nullopt).pressurePsi;
    QFile cases(kFixtures + "/app_cases.json");
    ASSERT_TRUE(cases.open(QIODevice::ReadOnly));
    QByteArray text = cases.readAll();
    text.replace("\"maxPressure_psi\": 62000, \"pressureStandard\": \"SAAMI\"",
                 "\"maxPressure_psi\": " + QByteArray::number(atStart, 'g', 17) + ", \"pressureStandard\": \"SAAMI\"");
    AlteredFixtures files("app_cases.json", text);
    ReloadCatalog exact{ResourceLookup(files.dir.path())};
    show(exact);
    QSignalSpy spy(&exact, &ReloadCatalog::changed);
    ASSERT_TRUE(spy.wait(10000));

    QTest::keyClick(find<ChargeSlider>("chargeSlider"), Qt::Key_Home);
    const auto p = prediction();
    ASSERT_TRUE(p && p->pressurePsi);
    ASSERT_EQ(*p->pressurePsi, atStart);
    EXPECT_FALSE(p->overMax);
    EXPECT_EQ(tile("saamiMarginTile")->value(), "+0 %");
    EXPECT_EQ(tile("saamiMarginTile")->accent(), Palette::green());
    EXPECT_EQ(tile("peakPressureTile")->accent(), Palette::textPrimary());
    EXPECT_FALSE(shown("overSaamiBadge"));
}

TEST_F(ReloadPane, ATypedBarrelLengthRepredictsAndRedrawsTheCurves) {
    showLoaded();
    const double charge = view->selection().chargeGr();
    const QString before = tile("muzzleVelocityTile")->value();
    const int rebuilds = view->predictionColumn()->velocityChart()->curveRebuilds();
    auto* field = find<NumberField>("barrelLengthField");
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, "20");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(view->selection().barrelLengthIn(), 20);
    EXPECT_EQ(view->selection().chargeGr(), charge) << "only the predictions change";
    EXPECT_NE(tile("muzzleVelocityTile")->value(), before);
    EXPECT_EQ(tile("muzzleVelocityTile")->value(), QString::asprintf("%.0f fps", prediction()->velocityFps));
    EXPECT_GT(view->predictionColumn()->velocityChart()->curveRebuilds(), rebuilds);
}

TEST_F(ReloadPane, PickingALoadAndACartridge) {
    showLoaded();
    // A wheel turn over a closed picker, as when scrolling the form, chooses nothing.
    auto* cartridges = find<QComboBox>("cartridgePicker");
    const QPointF centre = QRectF(cartridges->rect()).center();
    QWheelEvent notch(centre, cartridges->mapToGlobal(centre), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(cartridges, &notch);
    EXPECT_EQ(view->selection().cartridge(), "6.5 CREEDMOOR");

    pick("loadPicker", "147 gr \u00b7 IMR 4350");  // no barrel of its own, source index 7 of two
    EXPECT_EQ(find<NumberField>("barrelLengthField")->text(), "26") << "kept from the previous load";
    EXPECT_EQ(text("sourceValue"), "Unknown");
    EXPECT_EQ(text("powderValue"), "IMR IMR 4350");
    ASSERT_TRUE(shown("loadDataCard"));
    EXPECT_EQ(text("loadDataTitle"), "LOAD DATA \u2014 UNKNOWN");

    pick("cartridgePicker", "Alpha 22");  // a powder without pressure, a case without a maximum
    EXPECT_EQ(find<QComboBox>("loadPicker")->currentText(), "80 gr \u00b7 Varget");
    EXPECT_EQ(text("chargeValue"), "40.4 gr");
    EXPECT_EQ(find<NumberField>("barrelLengthField")->text(), "20") << "the case's barrel";
    EXPECT_EQ(text("maxPressureValue"), kDash);
    EXPECT_EQ(tile("peakPressureTile")->value(), kDash);
    EXPECT_EQ(tile("saamiMarginTile")->value(), kDash);
    EXPECT_NE(tile("muzzleVelocityTile")->value(), kDash);
    EXPECT_FALSE(shown("loadDataCard")) << "the load has no velocities";
    ChargeChart* pressure = view->predictionColumn()->pressureChart();
    EXPECT_TRUE(pressure->curve().isEmpty());
    EXPECT_FALSE(pressure->limit());
    EXPECT_FALSE(pressure->markerPoint());
    EXPECT_FALSE(pressure->markerRuleVisible());
    EXPECT_EQ(view->predictionColumn()->velocityChart()->curve().size(), 29);
}

TEST_F(ReloadPane, ACartridgeWithoutUsableLoadsShowsPlaceholders) {
    showLoaded();
    pick("cartridgePicker", "Beta 30");
    EXPECT_EQ(find<QComboBox>("loadPicker")->count(), 0);
    EXPECT_EQ(view->selection().loadId(), "");
    EXPECT_FALSE(shown("chargeBlock"));
    EXPECT_FALSE(shown("powderValue"));
    EXPECT_TRUE(shown("barrelLengthField"));
    for (const char* name : {"muzzleVelocityTile", "peakPressureTile", "caseFillTile", "saamiMarginTile"})
        EXPECT_EQ(tile(name)->value(), kDash) << name;
    EXPECT_TRUE(view->predictionColumn()->velocityChart()->curve().isEmpty());
    EXPECT_EQ(view->predictionColumn()->velocityChart()->xAxis()->min(), 0);
    EXPECT_EQ(view->predictionColumn()->velocityChart()->xAxis()->max(), 1);
    EXPECT_FALSE(shown("loadDataCard"));
    EXPECT_EQ(view->predictionColumn()->pressureChart()->limit(), 50000) << "the case's rule stands";
}

TEST_F(ReloadPane, TheLoadDataCardShowsTheLoadsOwnData) {
    showLoaded();
    ASSERT_TRUE(shown("loadDataCard"));
    EXPECT_EQ(text("loadDataTitle"), "LOAD DATA \u2014 FIXTURE SOURCE A");
    const QStringList expected[] = {{"VELOCITY WINDOW", "2550 \u2013 2710 fps"},
                                    {"PRESSURE WINDOW", "52000 \u2013 61000 psi"},
                                    {"COAL", "2.825 in"},
                                    {"PRIMER", "CCI BR-2"}};
    for (int i = 0; i < 4; ++i) {
        auto* cell = find<QWidget>(QStringLiteral("loadDataCell%1").arg(i).toLatin1().constData());
        QStringList texts;
        for (QLabel* label : cell->findChildren<QLabel*>()) texts << label->text();
        EXPECT_EQ(texts, expected[i]);
    }
}

TEST_F(ReloadPane, AssistiveTechnologyReadsTilesBadgesAndTheChargeInGrains) {
    showLoaded();
    QAccessibleInterface* tileInterface = QAccessible::queryAccessibleInterface(tile("muzzleVelocityTile"));
    ASSERT_NE(tileInterface, nullptr);
    EXPECT_EQ(tileInterface->text(QAccessible::Name), "Muzzle velocity");
    EXPECT_EQ(tileInterface->text(QAccessible::Description), tile("muzzleVelocityTile")->value());
    QAccessibleInterface* badge = QAccessible::queryAccessibleInterface(find<Badge>("engineBadge"));
    EXPECT_EQ(badge->text(QAccessible::Name), find<Badge>("engineBadge")->text());

    auto* slider = find<ChargeSlider>("chargeSlider");
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(slider);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Slider);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Powder charge");
    QAccessibleValueInterface* value = accessible->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->minimumValue().toDouble(), 38.0);
    EXPECT_EQ(value->maximumValue().toDouble(), 42.0);
    EXPECT_EQ(value->currentValue().toDouble(), view->selection().chargeGr());
    value->setCurrentValue(39.25);
    EXPECT_EQ(view->selection().chargeGr(), 39.25);
    EXPECT_EQ(accessible->text(QAccessible::Value), "39.2 gr");
    EXPECT_EQ(text("chargeValue"), "39.2 gr");
    value->setCurrentValue(50.0);
    EXPECT_EQ(view->selection().chargeGr(), 42.0) << "held within the load's range";
}

TEST_F(ReloadPane, LongSourceTextsStayOnOneLine) {
    QFile loads(kFixtures + "/app_loads.json");
    ASSERT_TRUE(loads.open(QIODevice::ReadOnly));
    QByteArray text = loads.readAll();
    const QByteArray longSource(600, 'x');
    text.replace("\"Fixture source A\"", "\"" + longSource + "\"");
    AlteredFixtures files("app_loads.json", text);
    ReloadCatalog longer{ResourceLookup(files.dir.path())};
    show(longer);
    QSignalSpy spy(&longer, &ReloadCatalog::changed);
    ASSERT_TRUE(spy.wait(10000));
    QApplication::processEvents();
    auto* source = find<ElidedLabel>("sourceValue");
    EXPECT_EQ(source->text(), QString::fromLatin1(longSource)) << "read whole by assistive technology";
    EXPECT_TRUE(source->shownText().endsWith(QChar(0x2026)));
    EXPECT_LE(view->form()->width(), 420);
}

}  // namespace
}  // namespace kavrino
