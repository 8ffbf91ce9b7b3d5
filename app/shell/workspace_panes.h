#pragma once
// How the shell builds each workspace pane: one factory per tab, handed what panes may use.
// A tab without a factory shows an empty page on the background, titled by the header bar.
// The shell knows no pane by name: the executable's pane registry fills the factories.
#include "app/shell/workspace_tab.h"

#include <array>
#include <functional>

class QWidget;

namespace kavrino {

class Catalog;
class SolveModel;
struct Platform;

// What the shell hands to panes: the shared solve model (observed, not owned), the shared
// catalog and the platform services. Lives as long as the window's ContentView.
struct PaneContext {
    SolveModel& model;
    Catalog& catalog;
    const Platform& platform;
};

// Builds a new pane; the shell takes ownership of the widget.
using PaneFactory = std::function<QWidget*(const PaneContext& context)>;

class WorkspacePanes {
public:
    void set(WorkspaceTab tab, PaneFactory factory) { m_factories[size_t(position(tab))] = std::move(factory); }
    bool has(WorkspaceTab tab) const { return bool(m_factories[size_t(position(tab))]); }
    // The pane for `tab`, or an empty page when no factory is set (or it returns nothing).
    QWidget* build(WorkspaceTab tab, const PaneContext& context) const;

private:
    std::array<PaneFactory, 8> m_factories;
};

// The page of a pane that is not built yet: nothing on the background.
QWidget* emptyPane(WorkspaceTab tab);

}  // namespace kavrino
