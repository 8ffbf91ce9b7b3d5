#include "app/platform/environment.h"

#include <QtGlobal>

namespace kavrino {

std::optional<QString> ProcessEnvironment::value(const QString& name) const {
    const QByteArray key = name.toLocal8Bit();
    if (!qEnvironmentVariableIsSet(key.constData())) return std::nullopt;
    return qEnvironmentVariable(key.constData());
}

std::optional<QString> FixedEnvironment::value(const QString& name) const {
    const auto found = m_variables.constFind(name);
    if (found == m_variables.constEnd()) return std::nullopt;
    return *found;
}

}  // namespace kavrino
