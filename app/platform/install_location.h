#pragma once
// Where the running application lives, where an install goes, and what the install alerts call
// the thing it runs from, as the platform defines them.
// macOS: the application bundle, checked at every launch; a disk image mounts under
// "/Volumes/"; installs go to "/Applications/".
// Linux: only an AppImage is checked (the environment names it in APPIMAGE): the file itself is
// what is tested and copied; removable media mount under "/media/" or "/run/media/"; installs
// go to "~/Applications/". A build tree or a system install has nothing to move.
#include <QString>
#include <QStringList>

#include <optional>

namespace kavrino {

class Environment;

struct InstallFolders {
    QStringList volumePrefixes;  // a path starting with one of these counts as on external media
    QString applicationsFolder;  // where the copy goes; ends with "/"

    bool operator==(const InstallFolders&) const = default;
};

struct RunningBundle {
    QString bundlePath;      // the folder (or the single file) that is copied whole
    QString executablePath;  // the program inside it (or the file itself), started from the copy

    bool operator==(const RunningBundle&) const = default;
};

// The informative texts of the two install alerts.
struct InstallWording {
    QString runningFromMedia;  // "… is running from the disk image …"
    QString copyFailed;        // "Please drag … onto the Applications folder …"

    bool operator==(const InstallWording&) const = default;
};

InstallFolders platformInstallFolders();
InstallWording platformInstallWording();

// What the install check looks at; no value when there is nothing the check could move (on
// Linux, anything but an AppImage).
std::optional<RunningBundle> runningBundle(const Environment& environment);

// The read-only flag of the volume that holds `path`; false when it cannot be read.
bool isOnReadOnlyVolume(const QString& path);

}  // namespace kavrino
