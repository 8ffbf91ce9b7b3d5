// A soak of the solve pane, offscreen: thousands of random edits as a clumsy user would make
// them (numbers typed into every field, ordinary and absurd, with Return or without, toggles,
// the drag model, the bullet picker, Solve, a cancelled DOPE export), reporting the process's
// resident memory at the start, after a warm-up and at the end. Memory that keeps growing after
// the warm-up is a leak.
//   solve_pane_soak [actions=5000] [seed=1]
#include "app/platform/environment.h"
#include "app/platform/platform.h"
#include "app/platform/testing/fake_dialogs.h"
#include "app/theme/components/number_field.h"
#include "app/theme/components/segmented_picker.h"
#include "app/theme/components/toggle_switch.h"
#include "bench/offscreen_application.h"
#include "core/catalog.h"
#include "core/solve_model.h"
#include "panes/solve/solve_view.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

// VmRSS of this process in KiB, from /proc.
long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

const char* const kTyped[] = {"0", "1", "-5", "2650", "0.462", "168", "100", "1000", "25", "10",
                              "59", "29.92", "45", "90", "1e308", "-1e308", "1e-300", "inf", "nan",
                              "", "abc", "1,5", "99999999", "0.001", "-0", "3600", "7.5"};

}  // namespace

int main(int argc, char** argv) {
    const long actions = argc > 1 ? std::atol(argv[1]) : 5000;
    const unsigned seed = argc > 2 ? unsigned(std::atol(argv[2])) : 1u;
    kavrino::bench::offscreenApplication("solve_pane_soak");
    kavrino::FixedEnvironment environment;
    kavrino::FakeDialogs dialogs;
    kavrino::Platform platform{environment, dialogs};
    kavrino::SolveModel model;
    kavrino::SolveView view(model, kavrino::Catalog::shared(), platform);
    view.resize(1090, 780);
    view.show();
    view.appear();
    QApplication::processEvents();

    const auto fields = view.findChildren<kavrino::NumberField*>();
    const auto toggles = view.findChildren<kavrino::ToggleSwitch*>();
    auto* picker = view.findChild<QComboBox*>(QStringLiteral("bulletPicker"));
    auto* dragModel = view.findChild<kavrino::SegmentedPicker*>(QStringLiteral("dragModelPicker"));
    auto* solve = view.findChild<QPushButton*>(QStringLiteral("solveButton"));
    auto* exportButton = view.findChild<QPushButton*>(QStringLiteral("exportDopeButton"));
    std::mt19937 random(seed);
    const auto pick = [&](size_t count) { return size_t(random() % count); };

    const long start = residentKiB();
    long warm = start;
    const long warmUp = actions / 5;
    for (long i = 0; i < actions; ++i) {
        switch (pick(10)) {
        case 0: toggles[pick(size_t(toggles.size()))]->click(); break;
        case 1: QTest::mouseClick(dragModel, Qt::LeftButton, {}, dragModel->segmentRect(int(pick(2))).center()); break;
        case 2: picker->setCurrentIndex(int(pick(size_t(picker->count())))); emit picker->activated(picker->currentIndex()); break;
        case 3: solve->click(); break;
        case 4: exportButton->click(); break;  // the save panel is cancelled: nothing drawn
        default: {
            // Keep the tables short: a typed maximum range or step would make one solve slow.
            kavrino::NumberField* field = fields[pick(size_t(fields.size()))];
            const QString name = field->objectName();
            const bool rangeField = name == QLatin1String("maxRangeField") || name == QLatin1String("rangeStepField");
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, rangeField ? QStringLiteral("100") : QString::fromLatin1(kTyped[pick(std::size(kTyped))]));
            if (pick(3) != 0) QTest::keyClick(field, Qt::Key_Return);
            break;
        }
        }
        QApplication::processEvents();
        if (i + 1 == warmUp) warm = residentKiB();
    }
    const long end = residentKiB();
    std::printf("solve pane soak, %ld actions (seed %u): resident memory %ld KiB at start, %ld KiB "
                "after %ld warm-up actions, %ld KiB at the end (%+ld KiB since the warm-up)\n",
                actions, seed, start, warm, warmUp, end, end - warm);
    return 0;
}
