#pragma once
// Where the running application lives and where an install goes, as the platform defines them.
// macOS: the application bundle; a disk image mounts under "/Volumes/"; installs go to
// "/Applications/". Linux: the folder that holds the executable (the AppDir of an AppImage,
// whose mount is read-only); removable media mount under "/media/"; installs go to
// "~/Applications/".
#include <QString>

namespace kavrino {

class Environment;

struct InstallFolders {
    QString volumePrefix;        // a path starting with this counts as on an external volume
    QString applicationsFolder;  // where the copy goes; ends with "/"

    bool operator==(const InstallFolders&) const = default;
};

struct RunningBundle {
    QString bundlePath;      // the folder that is copied whole
    QString executablePath;  // the program inside it, started again from the copy

    bool operator==(const RunningBundle&) const = default;
};

InstallFolders platformInstallFolders();
RunningBundle runningBundle(const Environment& environment);

// The read-only flag of the volume that holds `path`; false when it cannot be read.
bool isOnReadOnlyVolume(const QString& path);

}  // namespace kavrino
