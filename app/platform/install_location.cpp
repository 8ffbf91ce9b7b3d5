#include "app/platform/install_location.h"

#include "app/platform/environment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace kavrino {

InstallFolders platformInstallFolders() {
#if defined(Q_OS_MACOS)
    return {QStringLiteral("/Volumes/"), QStringLiteral("/Applications/")};
#else
    return {QStringLiteral("/media/"), QDir::homePath() + QStringLiteral("/Applications/")};
#endif
}

RunningBundle runningBundle([[maybe_unused]] const Environment& environment) {
    const QString executable = QCoreApplication::applicationFilePath();
#if defined(Q_OS_MACOS)
    // .../Kavrino Pro.app/Contents/MacOS/kavrino
    QDir bundle(QCoreApplication::applicationDirPath());
    bundle.cdUp();
    bundle.cdUp();
    return {bundle.absolutePath(), executable};
#else
    // An AppImage names its mounted AppDir; elsewhere the executable's own folder is the bundle.
    const auto appDir = environment.value(QStringLiteral("APPDIR"));
    if (appDir && !appDir->isEmpty() && executable.startsWith(QDir(*appDir).absolutePath() + '/')) {
        return {QDir(*appDir).absolutePath(), executable};
    }
    return {QCoreApplication::applicationDirPath(), executable};
#endif
}

bool isOnReadOnlyVolume(const QString& path) {
    const QStorageInfo volume(path);
    return volume.isValid() && volume.isReady() && volume.isReadOnly();
}

}  // namespace kavrino
