#include "workstation/kavrino_desktop_app.h"

#include "app/platform/auto_updater.h"
#include "app/shell/main_window.h"
#include "app/theme/app_theme.h"
#include "core/catalog.h"
#include "workstation/pane_registry.h"

#include <QApplication>
#include <QDateTime>
#include <QScreen>
#include <QTimer>

#include <algorithm>  // std::max
#include <cstdio>     // std::fputs, stderr

namespace kavrino {

KavrinoDesktopApp::KavrinoDesktopApp(QApplication& application)
    : m_application(application),
      m_platform{m_environment, m_dialogs},
      m_delegate(m_dialogs, m_host, m_environment),
      m_updater(std::make_unique<AutoUpdater>(m_dialogs)) {
    applyTheme(m_application);
    m_window = std::make_unique<MainWindow>(m_platform, Catalog::shared(), m_reloadCatalog,
                                            workspacePanes(), *m_updater);
}

KavrinoDesktopApp::~KavrinoDesktopApp() = default;

int KavrinoDesktopApp::run() {
    // Start-up measurement for scripts/measure_startup.sh: print the wall-clock time of the
    // first paint and quit.
    if (m_environment.value(QStringLiteral("KAVRINO_STARTUP_PROBE"))) {
        QObject::connect(m_window.get(), &MainWindow::firstPainted, &m_application, [] {
            const QByteArray line =
                "first-paint-epoch-ms " + QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + '\n';
            std::fputs(line.constData(), stderr);
            QCoreApplication::exit(0);
        });
    }
    // New windows open centred on the screen, as the platform places them.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        QRect frame(QPoint(), m_window->size());
        frame.moveCenter(area.center());
        m_window->move(std::max(frame.left(), area.left()), std::max(frame.top(), area.top()));
    }
    m_window->show();
    m_window->applyWindowSizeFromEnvironment(m_environment);
    QTimer::singleShot(0, &m_application, [this] { m_delegate.applicationDidFinishLaunching(); });
    return m_application.exec();
}

}  // namespace kavrino
