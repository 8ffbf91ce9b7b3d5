#pragma once
// The platform services the shell hands to its panes: built once by the application object,
// faked in tests.
#include "app/platform/tile_server_pause.h"
#include "app/platform/tile_server_url.h"

#include <QString>

#include <memory>  // std::shared_ptr

namespace kavrino {

class Dialogs;
class Environment;

struct Platform {
    Environment& environment;
    Dialogs& dialogs;
    // The map's tile server's pause, for as long as this Platform lives: the program's one.
    std::shared_ptr<TileServerPause> tileServerPause = std::make_shared<TileServerPause>();
    // The map's tile server (see tile_server_url.h): read from the environment once, when the
    // platform is made at start-up, however often a map is opened.
    QString tileServerUrl = tileServerUrlFrom(environment);
};

}  // namespace kavrino
