#pragma once
// The themed QApplication that widget benchmarks draw into, created once per process and
// offscreen, so a benchmark measures the same widgets and fonts the workstation shows.
#include "app/theme/app_theme.h"

#include <QApplication>

namespace kavrino::bench {

inline QApplication& offscreenApplication(const char* programName) {
    static int argc = 1;
    static char* argv[] = {const_cast<char*>(programName), nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        auto* created = new QApplication(argc, argv);
        kavrino::applyTheme(*created);
        return created;
    }();
    return *app;
}

}  // namespace kavrino::bench
