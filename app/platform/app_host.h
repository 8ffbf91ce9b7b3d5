#pragma once
// What the install check asks of the running application: the volume's read-only flag,
// starting a new instance from a copy, and quitting. QtAppHost does it for real; tests record.
#include <QString>

namespace kavrino {

class AppHost {
public:
    virtual ~AppHost() = default;
    virtual bool isOnReadOnlyVolume(const QString& path) const = 0;
    // Starts `executablePath` as a new, independent process; its outcome is not followed.
    virtual void launchNewInstance(const QString& executablePath) = 0;
    // Ends the running application once control returns to its event loop.
    virtual void terminate() = 0;
};

class QtAppHost final : public AppHost {
public:
    bool isOnReadOnlyVolume(const QString& path) const override;
    void launchNewInstance(const QString& executablePath) override;
    void terminate() override;
};

}  // namespace kavrino
