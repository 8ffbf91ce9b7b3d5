#pragma once
// The map's log category, "kavrino.map", shared by the map and the tile server it is given at
// start-up: warnings on, debug off unless QT_LOGGING_RULES says so
// (QT_LOGGING_RULES='kavrino.map.debug=true' shows every tile that failed).
#include <QLoggingCategory>

namespace kavrino {

Q_DECLARE_LOGGING_CATEGORY(lcMap)

}  // namespace kavrino
