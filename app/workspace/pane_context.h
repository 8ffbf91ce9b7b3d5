#pragma once
// Everything a workspace pane may use, handed by the shell to the factory that builds it. The
// objects are shared by every pane and outlive them all: a pane observes them, owns none.
namespace kavrino {

class Catalog;
class ReloadCatalog;
class SolveModel;
struct Platform;

struct PaneContext {
    SolveModel& model;              // the window's one solve model
    Catalog& catalog;               // bullets and factory loads
    ReloadCatalog& reloadCatalog;   // published loads, cases and powders; loaded on demand
    const Platform& platform;       // dialogs, environment and the other desktop services
    // KAVRINO_PRESET is "screenshot": panes that have one fill in their demonstration content.
    // Read once, when the window's content is made.
    bool demonstrationPreset = false;
};

}  // namespace kavrino
