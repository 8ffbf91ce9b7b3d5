#include "core/logging.h"

namespace kavrino {

Q_LOGGING_CATEGORY(lcEngine, "kavrino.engine", QtWarningMsg)
Q_LOGGING_CATEGORY(lcCatalog, "kavrino.catalog", QtWarningMsg)

}  // namespace kavrino
