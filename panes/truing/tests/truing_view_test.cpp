// The truing pane driven as a user drives it, offscreen: typing observations in the user's
// number format, adding and removing rows, the BC switch, "Solve Truing", the result panel's
// texts (infinite errors included), "Apply to load", the demonstration preset on appearance, and
// what assistive technology reads.
#include "app/theme/components/button_styles.h"
#include "app/theme/components/number_field.h"
#include "app/theme/components/toggle_switch.h"
#include "app/theme/panel_decoration.h"
#include "core/format.h"
#include "panes/truing/observation_row.h"
#include "panes/truing/truing_model.h"
#include "panes/truing/truing_result_panel.h"
#include "panes/truing/truing_view.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace kavrino {
namespace {

// A quick stand-in for the integrator: rows every 10 yd whose come-up falls with the square of
// the velocity and the BC, counting its calls.
struct CountingIntegrator {
    int* calls;
    std::vector<TrajectoryPoint> operator()(const BallisticEngine::Inputs& in) const {
        ++*calls;
        std::vector<TrajectoryPoint> rows;
        for (double range = 10; range <= in.maxRange; range += 10) {
            TrajectoryPoint row;
            row.range = range;
            row.dropMOA = range / 26 * std::pow(2600 / in.muzzleVelocity, 2) * (0.462 / in.ballisticCoefficient);
            rows.push_back(row);
        }
        return rows;
    }
};

class TruingPane : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override {
        view.reset();
        QLocale::setDefault(QLocale::c());
    }

    // Builds the pane and puts it on screen, as the shell does when the tab is chosen; with the
    // counting integrator unless `realIntegrator`.
    TruingView& show(bool realIntegrator = false) {
        auto model = realIntegrator ? std::make_unique<TruingModel>()
                                    : std::make_unique<TruingModel>(CountingIntegrator{&integrations});
        view = std::make_unique<TruingView>(std::move(model), demonstrationPreset);
        view->resize(1090, 797);
        view->show();
        view->appear();
        QApplication::setActiveWindow(view.get());
        return *view;
    }

    TruingModel& model() { return view->model(); }
    ObservationRow* row(size_t index) { return view->observationRows().at(index); }
    TruingResultPanel* result() { return view->resultPanel(); }
    void click(const char* name) { QTest::mouseClick(view->findChild<QPushButton*>(name), Qt::LeftButton); }

    // Replaces a field's text as a user does: focus, select all, type.
    static void type(NumberField* field, const QString& text) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
    }
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    int integrations = 0;
    bool demonstrationPreset = false;
    std::unique_ptr<TruingView> view;
};

TEST_F(TruingPane, OpensWithTheDefaultObservationsAndNoResult) {
    show();
    ASSERT_EQ(view->observationRows().size(), 3u);
    const QString expected[][2] = {{"300", "5"}, {"600", "16.8"}, {"900", "34.4"}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(row(i)->rangeField()->text(), expected[i][0]);
        EXPECT_EQ(row(i)->dropField()->text(), expected[i][1]);
        EXPECT_EQ(row(i)->rangeField()->width(), 80);
        EXPECT_EQ(row(i)->rangeField()->placeholderText(), "yd");
        EXPECT_EQ(row(i)->dropField()->placeholderText(), "MOA");
    }
    EXPECT_FALSE(view->resultCard()->isVisible());
    EXPECT_FALSE(view->findChild<ToggleSwitch*>("trueBCToggle")->isChecked());
    EXPECT_EQ(integrations, 0);
}

TEST_F(TruingPane, TypedValuesGoIntoTheirObservation) {
    show();
    type(row(1)->rangeField(), "650");
    QTest::keyClick(row(1)->rangeField(), Qt::Key_Return);
    type(row(1)->dropField(), "18.25");
    row(2)->rangeField()->setFocus();  // leaving the field takes the value too
    EXPECT_EQ(model().observations()[1].rangeYards, 650);
    EXPECT_EQ(model().observations()[1].dropMOA, 18.25);
    EXPECT_EQ(model().observations()[0].rangeYards, 300);
    EXPECT_EQ(model().observations()[2].dropMOA, 34.4);
    EXPECT_FALSE(model().result().has_value());  // editing does not fit
}

TEST_F(TruingPane, TextThatIsNotANumberKeepsThePreviousValue) {
    show();
    type(row(0)->rangeField(), "far");
    QTest::keyClick(row(0)->rangeField(), Qt::Key_Return);
    EXPECT_EQ(model().observations()[0].rangeYards, 300);
    EXPECT_EQ(row(0)->rangeField()->text(), "300");
}

TEST_F(TruingPane, FieldsUseTheUsersNumberFormat) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    show();
    EXPECT_EQ(row(1)->dropField()->text(), "16,8");
    type(row(1)->dropField(), "17,25");
    QTest::keyClick(row(1)->dropField(), Qt::Key_Return);
    EXPECT_EQ(model().observations()[1].dropMOA, 17.25);
    type(row(2)->rangeField(), "1.000");
    QTest::keyClick(row(2)->rangeField(), Qt::Key_Return);
    EXPECT_EQ(model().observations()[2].rangeYards, 1000);
}

TEST_F(TruingPane, AddAndRemoveObservations) {
    show();
    click("addObservationButton");
    ASSERT_EQ(view->observationRows().size(), 4u);
    EXPECT_EQ(row(3)->rangeField()->text(), "500");
    EXPECT_EQ(row(3)->dropField()->text(), "11.7");
    EXPECT_EQ(model().observations().back().rangeYards, 500);

    const QUuid second = model().observations()[1].id;
    ObservationRow* kept = row(0);
    QTest::mouseClick(row(1)->removeButton(), Qt::LeftButton);
    settle();
    ASSERT_EQ(model().observations().size(), 3u);
    for (const auto& o : model().observations()) EXPECT_NE(o.id, second);
    ASSERT_EQ(view->observationRows().size(), 3u);
    EXPECT_EQ(row(0), kept);  // rows that stay keep their fields
    EXPECT_EQ(row(1)->rangeField()->text(), "900");
    EXPECT_EQ(row(1)->rangeField()->accessibleName(), "Observation 2 range (yd)");
    EXPECT_EQ(row(1)->removeButton()->accessibleName(), "Remove observation 2");
    EXPECT_EQ(view->findChildren<ObservationRow*>().size(), 3);
}

TEST_F(TruingPane, AValueBeingTypedIsKeptWhenAnotherRowIsRemoved) {
    show();
    type(row(0)->dropField(), "5.5");
    QTest::mouseClick(row(2)->removeButton(), Qt::LeftButton);
    settle();
    ASSERT_EQ(model().observations().size(), 2u);
    EXPECT_EQ(model().observations()[0].dropMOA, 5.5);
}

TEST_F(TruingPane, LeavingThePaneKeepsAValueStillBeingTyped) {
    show();
    type(row(0)->rangeField(), "310");
    // The model goes with the pane: watch what it holds on the way out.
    double lastRange = 0;
    QObject::connect(&model(), &TruingModel::changed, [&, m = &model()] { lastRange = m->observations()[0].rangeYards; });
    view.reset();  // the shell drops the pane when another tab is chosen
    EXPECT_EQ(lastRange, 310);
}

TEST_F(TruingPane, SolveShowsTheResultRows) {
    show(true);
    click("solveTruingButton");
    ASSERT_TRUE(model().result().has_value());
    const TruingModel::Result r = *model().result();
    EXPECT_TRUE(view->resultCard()->isVisible());
    EXPECT_EQ(result()->velocityRow()->title(), "Trued muzzle velocity");
    EXPECT_EQ(result()->velocityRow()->value(), qformat("%.0f fps", r.muzzleVelocity));
    EXPECT_EQ(result()->velocityRow()->note(), "was 2650");
    EXPECT_EQ(result()->rmsRow()->title(), "Fit error (RMS)");
    EXPECT_EQ(result()->rmsRow()->value(), qformat("%.3f MOA", r.rmsAfter));
    EXPECT_EQ(result()->rmsRow()->note(), qformat("was %.3f", r.rmsBefore));
    EXPECT_FALSE(result()->bcScaleRow()->isVisible());
    EXPECT_LT(r.rmsAfter, r.rmsBefore);
    EXPECT_NE(r.muzzleVelocity, 2650);
}

TEST_F(TruingPane, WithoutObservationsTheErrorReadsInfinite) {
    show();
    for (int i = 0; i < 3; ++i) {
        QTest::mouseClick(row(0)->removeButton(), Qt::LeftButton);
        settle();
    }
    ASSERT_TRUE(model().observations().empty());
    QTest::mouseClick(view->findChild<ToggleSwitch*>("trueBCToggle"), Qt::LeftButton);
    EXPECT_TRUE(model().trueBC());
    click("solveTruingButton");
    EXPECT_EQ(result()->velocityRow()->value(), "2650 fps");
    EXPECT_EQ(result()->velocityRow()->note(), "was 2650");
    EXPECT_EQ(result()->bcScaleRow()->value(), QString::fromUtf8("\u00d71.000"));
    EXPECT_EQ(result()->bcScaleRow()->note(), QString::fromUtf8("\u2192 BC 0.462"));
    EXPECT_EQ(result()->rmsRow()->value(), "inf MOA");
    EXPECT_EQ(result()->rmsRow()->note(), "was inf");
    EXPECT_EQ(integrations, 0);
}

TEST_F(TruingPane, TheBCSwitchShowsOrHidesTheBCRowWithoutRefitting) {
    show();
    auto* toggle = view->findChild<ToggleSwitch*>("trueBCToggle");
    QTest::mouseClick(toggle, Qt::LeftButton);
    click("solveTruingButton");
    ASSERT_TRUE(model().result().has_value());
    const TruingModel::Result fitted = *model().result();
    const int fits = integrations;
    EXPECT_TRUE(result()->bcScaleRow()->isVisible());
    EXPECT_EQ(result()->bcScaleRow()->title(), "BC scale");
    EXPECT_EQ(result()->bcScaleRow()->value(), qformat("\u00d7%.3f", fitted.bcScale));
    EXPECT_EQ(result()->bcScaleRow()->note(), qformat("\u2192 BC %.3f", 0.462 * fitted.bcScale));

    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_FALSE(model().trueBC());
    EXPECT_FALSE(result()->bcScaleRow()->isVisible());
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_TRUE(result()->bcScaleRow()->isVisible());
    EXPECT_EQ(integrations, fits);
    EXPECT_EQ(*model().result(), fitted);
}

TEST_F(TruingPane, ApplyToLoadChangesOnlyTheVelocity) {
    show();
    click("solveTruingButton");
    const TruingModel::Result fitted = *model().result();
    const std::vector<TruingModel::Observation> observations = model().observations();
    click("applyToLoadButton");
    EXPECT_EQ(model().muzzleVelocity(), fitted.muzzleVelocity);
    EXPECT_EQ(*model().result(), fitted);
    EXPECT_EQ(model().observations(), observations);
    EXPECT_EQ(model().ballisticCoefficient(), 0.462);
    EXPECT_FALSE(model().trueBC());
    // Value and note now agree.
    EXPECT_EQ(result()->velocityRow()->note(), qformat("was %.0f", fitted.muzzleVelocity));
    EXPECT_EQ(result()->velocityRow()->value(), qformat("%.0f fps", fitted.muzzleVelocity));
}

TEST_F(TruingPane, DemonstrationPresetFitsOnceOnAppearance) {
    demonstrationPreset = true;
    show();
    ASSERT_TRUE(model().result().has_value());
    EXPECT_TRUE(view->resultCard()->isVisible());
    const int fits = integrations;
    view->appear();  // a result exists: no second fit
    EXPECT_EQ(integrations, fits);
}

TEST_F(TruingPane, AssistiveTechnologyReadsEveryFigure) {
    show();
    click("solveTruingButton");
    const TruingMetricRow* velocity = result()->velocityRow();
    QAccessibleInterface* rowInterface = QAccessible::queryAccessibleInterface(const_cast<TruingMetricRow*>(velocity));
    ASSERT_NE(rowInterface, nullptr);
    EXPECT_EQ(rowInterface->text(QAccessible::Name), "Trued muzzle velocity");
    EXPECT_EQ(rowInterface->text(QAccessible::Description), velocity->value() + ", was 2650");
    auto* value = velocity->findChild<QLabel*>("metricValue");
    QAccessibleInterface* valueInterface = QAccessible::queryAccessibleInterface(value);
    EXPECT_EQ(valueInterface->text(QAccessible::Name), velocity->value());
    EXPECT_EQ(valueInterface->text(QAccessible::Description), "Trued muzzle velocity");
    QAccessibleInterface* rms = QAccessible::queryAccessibleInterface(result()->rmsRow());
    EXPECT_EQ(rms->text(QAccessible::Name), "Fit error (RMS)");
    EXPECT_EQ(rms->text(QAccessible::Description),
              result()->rmsRow()->value() + ", " + result()->rmsRow()->note());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(row(0)->dropField())->text(QAccessible::Name),
              "Observation 1 come-up (MOA)");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(view->findChild<ToggleSwitch*>("trueBCToggle"))
                  ->text(QAccessible::Name),
              QString::fromUtf8("Also true BC (\u00b115%)"));
}

TEST(TruingResultTexts, FollowPrintfFormats) {
    const TruingModel::Result r{2687.5, 1.0125, 1.23456, 0.0004999};
    const TruingResultTexts texts = truingResultTexts(r, 2650.5, 0.462);
    EXPECT_EQ(texts.velocity, "2688 fps");  // half rounds to even on the binary value
    EXPECT_EQ(texts.velocityNote, "was 2650");
    EXPECT_EQ(texts.bcScale, QString::fromUtf8("\u00d71.012"));  // 1.0125 is stored a little below
    EXPECT_EQ(texts.bcScaleNote, QString::fromUtf8("\u2192 BC 0.468"));
    EXPECT_EQ(texts.rms, "0.000 MOA");
    EXPECT_EQ(texts.rmsNote, "was 1.235");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(truingResultTexts({-nan, 1, 0, 0}, 0, 0.462).velocity, "nan fps");
}

}  // namespace
}  // namespace kavrino
