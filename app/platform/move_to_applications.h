#pragma once
// The install check run once when launching has finished: an application started straight from
// a disk image or removable media (a read-only volume, or any path under one of the platform's
// volume prefixes) tells the user to install it first, offers to copy itself into the
// applications folder and start the copy, and ends in every case. Started from anywhere else
// it does nothing.
#include "app/platform/install_location.h"

namespace kavrino {

class AppHost;
class Dialogs;

class MoveToApplications {
public:
    MoveToApplications(Dialogs& dialogs, AppHost& host, InstallFolders folders,
                       RunningBundle bundle, InstallWording wording = platformInstallWording());

    // True when nothing was shown and the application continues; false when the alert was
    // shown and the application is being terminated.
    bool moveToApplicationsIfNeeded();

    // Replaces any item at <applications folder>/<bundle's own name> with a whole copy of
    // `bundlePath` (a folder or a single file) and starts the copy; on failure tells the user to
    // install it by hand.
    void moveToApplications(const QString& bundlePath);

    // Where `bundlePath` is copied to.
    QString destinationFor(const QString& bundlePath) const;

private:
    void showFailure();

    Dialogs& m_dialogs;
    AppHost& m_host;
    InstallFolders m_folders;
    RunningBundle m_bundle;
    InstallWording m_wording;
};

// Copies the file or folder `source` to `destination` (which must not exist), folders
// recursively, symbolic links as links, permissions kept. False on any failure; a partial copy
// is left as it is.
bool copyRecursively(const QString& source, const QString& destination);

}  // namespace kavrino
