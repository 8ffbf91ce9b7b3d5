#include "app/platform/map_logging.h"

namespace kavrino {

Q_LOGGING_CATEGORY(lcMap, "kavrino.map", QtWarningMsg)

}  // namespace kavrino
