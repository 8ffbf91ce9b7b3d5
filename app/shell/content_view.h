#pragma once
// The content of the application's one window: the sidebar at the left; at the right the header
// bar, a one-point divider and the selected pane. The view owns the workspace's SolveModel and
// holds the shared catalogs, and builds each pane afresh when its row is chosen: only the
// selected pane exists. It tells the pane when it comes on screen and retires it when it leaves.
#include "app/platform/platform.h"
#include "app/shell/workspace_panes.h"
#include "app/shell/workspace_tab.h"

#include <QWidget>

#include <memory>

namespace kavrino {

class Environment;
class HeaderBar;
class ReloadCatalog;
class Sidebar;
class WorkspacePane;

class ContentView final : public QWidget {
    Q_OBJECT
public:
    // Creates the solve model (it does not solve) and opens on initialTab().
    ContentView(const Platform& platform, Catalog& catalog, ReloadCatalog& reloadCatalog,
                WorkspacePanes panes, QWidget* parent = nullptr);
    ~ContentView() override;

    // The pane named by KAVRINO_TAB (title or case name, any letter case); Solve otherwise.
    static WorkspaceTab initialTab(const Environment& environment);
    // Whether KAVRINO_PRESET is exactly "screenshot" (letter case counts): panes then show their
    // demonstration content. Read once, when the view is made, and handed to every pane.
    static bool demonstrationPreset(const Environment& environment);

    WorkspaceTab selection() const { return m_selection; }
    // Selects `tab` and builds its pane; choosing the selected tab again changes nothing.
    void setSelection(WorkspaceTab tab);

    // The content never gets smaller than `size`, nor than its sidebar and pane need.
    void setMinimumContentSize(const QSize& size);
    QSize minimumSizeHint() const override;

    SolveModel& model() { return *m_model; }
    Catalog& catalog() { return m_context.catalog; }
    WorkspacePane* currentPane() const { return m_pane; }
    Sidebar* sidebar() const { return m_sidebar; }
    HeaderBar* headerBar() const { return m_header; }

signals:
    void selectionChanged(kavrino::WorkspaceTab tab);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void retirePane();
    void showPane();

    std::unique_ptr<SolveModel> m_model;
    const PaneContext m_context;  // what every pane is built from
    WorkspacePanes m_panes;
    WorkspaceTab m_selection;
    Sidebar* m_sidebar;
    HeaderBar* m_header;
    QWidget* m_detail;  // holds the one pane
    WorkspacePane* m_pane = nullptr;
    QSize m_minimumContentSize;
};

}  // namespace kavrino
