#include "app/shell/main_window.h"

#include "app/platform/auto_updater.h"
#include "app/platform/environment.h"
#include "app/shell/content_view.h"
#include "app/shell/sidebar.h"
#include "app/shell/window_size.h"

#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>

namespace kavrino {

MainWindow::MainWindow(const Platform& platform, Catalog& catalog, ReloadCatalog& reloadCatalog,
                       WorkspacePanes panes, AutoUpdater& updater, QWidget* parent)
    : QMainWindow(parent) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(tr("Kavrino Pro"));
    m_content = new ContentView(platform, catalog, reloadCatalog, std::move(panes), this);
    m_content->setMinimumContentSize(kMinimumContentSize);
    setCentralWidget(m_content);
    buildMenus(updater);
    resize(kDefaultSize);
    m_content->sidebar()->installEventFilter(this);
}

void MainWindow::buildMenus(AutoUpdater& updater) {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));

    QMenu* appMenu = bar->addMenu(tr("Kavrino Pro"));
    appMenu->setObjectName(QStringLiteral("applicationMenu"));
    QAction* about = appMenu->addAction(tr("About Kavrino Pro"), this, [this] {
        QMessageBox::about(this, tr("About Kavrino Pro"),
                           tr("Kavrino Pro %1\nBallistics workstation for long-range shooters and "
                              "handloaders.")
                               .arg(QApplication::applicationVersion()));
    });
    about->setObjectName(QStringLiteral("actionAbout"));
    about->setMenuRole(QAction::AboutRole);
    // Directly below About: the updater's check.
    QAction* check = appMenu->addAction(tr("Check for Updates\u2026"), &updater,
                                        &AutoUpdater::checkForUpdates);
    check->setObjectName(QStringLiteral("actionCheckForUpdates"));
    check->setMenuRole(QAction::ApplicationSpecificRole);
    appMenu->addSeparator();
    QAction* quit = appMenu->addAction(tr("Quit Kavrino Pro"), qApp, &QApplication::quit);
    quit->setObjectName(QStringLiteral("actionQuit"));
    quit->setShortcut(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);

    // No "New" item: the application has one window and no documents.
    QMenu* fileMenu = bar->addMenu(tr("File"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    QAction* close = fileMenu->addAction(tr("Close Window"), this, &QWidget::close);
    close->setObjectName(QStringLiteral("actionCloseWindow"));
    close->setShortcut(QKeySequence::Close);
}

void MainWindow::applyWindowSizeFromEnvironment(const Environment& environment) {
    const auto value = environment.value(QStringLiteral("KAVRINO_WINDOW"));
    if (!value) return;
    const auto size = parseWindowSize(*value);
    if (!size) return;
    const auto frame = scriptedWindowFrame(*size);
    if (!frame) return;
    QPointer<MainWindow> window(this);
    QMetaObject::invokeMethod(
        this,
        [window, frame = *frame] {
            if (window.isNull()) return;
            window->setGeometry(frame);
            window->repaint();
        },
        Qt::QueuedConnection);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (!m_painted && event->type() == QEvent::Paint && watched == m_content->sidebar()) {
        m_painted = true;
        // Reported after this paint has reached the window.
        QMetaObject::invokeMethod(this, &MainWindow::firstPainted, Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace kavrino
