#pragma once
// The application's one window: ContentView as its content (never smaller than 1080 × 720),
// 1340 × 860 by default, and the menus: the application menu with "About Kavrino Pro" followed
// directly by "Check for Updates…", and a File menu without a "New" item.
#include "app/shell/workspace_panes.h"

#include <QMainWindow>

namespace kavrino {

class AutoUpdater;
class ContentView;
class Environment;
struct Platform;

class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    static constexpr QSize kDefaultSize{1340, 860};
    static constexpr QSize kMinimumContentSize{1080, 720};

    MainWindow(const Platform& platform, Catalog& catalog, ReloadCatalog& reloadCatalog,
               WorkspacePanes panes, AutoUpdater& updater, QWidget* parent = nullptr);

    ContentView* contentView() const { return m_content; }

    // KAVRINO_WINDOW, once the window is shown: a valid value sets the frame to (40, 60) and
    // that size one event-loop turn later; anything else leaves the window as it is.
    void applyWindowSizeFromEnvironment(const Environment& environment);

signals:
    // After the first paint of the window's content.
    void firstPainted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus(AutoUpdater& updater);

    ContentView* m_content;
    bool m_painted = false;
};

}  // namespace kavrino
