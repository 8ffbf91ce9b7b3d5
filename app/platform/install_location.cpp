#include "app/platform/install_location.h"

#include "app/platform/environment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace kavrino {
namespace {

QString tr(const char* text) { return QCoreApplication::translate("MoveToApplications", text); }

}  // namespace

InstallFolders platformInstallFolders() {
#if defined(Q_OS_MACOS)
    return {{QStringLiteral("/Volumes/")}, QStringLiteral("/Applications/")};
#else
    return {{QStringLiteral("/media/"), QStringLiteral("/run/media/")},
            QDir::homePath() + QStringLiteral("/Applications/")};
#endif
}

InstallWording platformInstallWording() {
#if defined(Q_OS_MACOS)
    return {tr("Kavrino Pro is running from the disk image. Apps can't run reliably from a DMG "
               "\u2014 please install it first. Click Move to Applications, or drag the icon onto "
               "the Applications folder, then open it from there."),
            tr("Please drag Kavrino Pro onto the Applications folder in the installer window, "
               "then open it from Applications.")};
#else
    return {tr("Kavrino Pro is running from an AppImage on removable or read-only media. Apps "
               "can't run reliably from there \u2014 please install it first. Click Move to "
               "Applications, or copy the AppImage into the Applications folder of your home "
               "folder, then open it from there."),
            tr("Please copy the Kavrino Pro AppImage into the Applications folder of your home "
               "folder, then open it from there.")};
#endif
}

std::optional<RunningBundle> runningBundle([[maybe_unused]] const Environment& environment) {
#if defined(Q_OS_MACOS)
    // .../Kavrino Pro.app/Contents/MacOS/kavrino
    QDir bundle(QCoreApplication::applicationDirPath());
    bundle.cdUp();
    bundle.cdUp();
    return RunningBundle{bundle.absolutePath(), QCoreApplication::applicationFilePath()};
#else
    // The AppImage runtime names the image file it mounted; the mount itself (/tmp/.mount_*) is
    // a temporary view of it and never the thing to copy.
    const auto appImage = environment.value(QStringLiteral("APPIMAGE"));
    if (!appImage || appImage->isEmpty()) return std::nullopt;
    const QFileInfo file(*appImage);
    if (!file.isFile()) return std::nullopt;
    const QString path = file.absoluteFilePath();
    return RunningBundle{path, path};
#endif
}

bool isOnReadOnlyVolume(const QString& path) {
    const QStorageInfo volume(path);
    return volume.isValid() && volume.isReady() && volume.isReadOnly();
}

}  // namespace kavrino
