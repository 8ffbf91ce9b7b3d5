#pragma once
// The solving core's log categories: "kavrino.engine" (a solve the library could not answer,
// so the built-in integrator solved it, and why) and "kavrino.catalog" (a bundled catalog file
// that could not be read). Warnings on, debug off unless QT_LOGGING_RULES says otherwise.
#include <QLoggingCategory>

namespace kavrino {

Q_DECLARE_LOGGING_CATEGORY(lcEngine)
Q_DECLARE_LOGGING_CATEGORY(lcCatalog)

}  // namespace kavrino
