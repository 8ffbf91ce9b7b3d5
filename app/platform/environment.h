#pragma once
// The process environment behind one seam, so the scripted start-up variables (KAVRINO_TAB,
// KAVRINO_PRESET, KAVRINO_WINDOW) can be set in tests without touching the process.
#include <QHash>
#include <QString>

#include <initializer_list>
#include <optional>
#include <utility>

namespace kavrino {

class Environment {
public:
    virtual ~Environment() = default;
    // The variable's value; nothing when the variable is not set (an empty value is a value).
    virtual std::optional<QString> value(const QString& name) const = 0;
};

// The environment the process was started with.
class ProcessEnvironment final : public Environment {
public:
    std::optional<QString> value(const QString& name) const override;
};

// A fixed set of variables, for tests and scripted runs.
class FixedEnvironment final : public Environment {
public:
    FixedEnvironment() = default;
    FixedEnvironment(std::initializer_list<std::pair<QString, QString>> variables) {
        for (const auto& [name, value] : variables) m_variables.insert(name, value);
    }
    void set(const QString& name, const QString& value) { m_variables.insert(name, value); }
    void unset(const QString& name) { m_variables.remove(name); }
    std::optional<QString> value(const QString& name) const override;

private:
    QHash<QString, QString> m_variables;
};

}  // namespace kavrino
