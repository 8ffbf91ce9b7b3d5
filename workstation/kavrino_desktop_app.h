#pragma once
// The application object: the platform services, the delegate, the started updater, the reload
// data catalog (loaded when the reload pane first asks) and the one window, in that order of
// creation.
#include "app/platform/app_host.h"
#include "app/platform/environment.h"
#include "app/platform/platform.h"
#include "app/platform/qt_dialogs.h"
#include "reload/reload_catalog.h"
#include "workstation/app_delegate.h"

#include <memory>

class QApplication;

namespace kavrino {

class AutoUpdater;
class MainWindow;

class KavrinoDesktopApp {
public:
    explicit KavrinoDesktopApp(QApplication& application);
    ~KavrinoDesktopApp();

    // Shows the window, schedules the launch-finished work and runs the event loop.
    int run();

private:
    QApplication& m_application;
    ProcessEnvironment m_environment;
    QtDialogs m_dialogs;
    QtAppHost m_host;
    Platform m_platform;
    AppDelegate m_delegate;
    std::unique_ptr<AutoUpdater> m_updater;
    ReloadCatalog m_reloadCatalog;  // over the bundled files
    std::unique_ptr<MainWindow> m_window;
};

}  // namespace kavrino
