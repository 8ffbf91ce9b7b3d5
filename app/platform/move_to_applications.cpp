#include "app/platform/move_to_applications.h"

#include "app/platform/app_host.h"
#include "app/platform/dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>  // std::any_of
#include <filesystem>
#include <system_error>

namespace kavrino {
namespace {

namespace fs = std::filesystem;

fs::path toPath(const QString& path) { return fs::path(QFile::encodeName(path).toStdString()); }

QString tr(const char* text) { return QCoreApplication::translate("MoveToApplications", text); }

// True when `inner` is `outer` or lies inside it, after resolving links and "..".
bool isSameOrInside(const fs::path& inner, const fs::path& outer) {
    std::error_code error;
    const fs::path a = fs::weakly_canonical(inner, error);
    if (error) return false;
    const fs::path b = fs::weakly_canonical(outer, error);
    if (error) return false;
    auto ai = a.begin();
    for (auto bi = b.begin(); bi != b.end(); ++bi, ++ai) {
        if (bi->empty()) continue;  // a trailing separator
        if (ai == a.end() || *ai != *bi) return false;
    }
    return true;
}

}  // namespace

bool copyRecursively(const QString& source, const QString& destination) {
    std::error_code error;
    fs::copy(toPath(source), toPath(destination),
             fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
    return !error;
}

MoveToApplications::MoveToApplications(Dialogs& dialogs, AppHost& host, InstallFolders folders,
                                       RunningBundle bundle, InstallWording wording)
    : m_dialogs(dialogs),
      m_host(host),
      m_folders(std::move(folders)),
      m_bundle(std::move(bundle)),
      m_wording(std::move(wording)) {}

bool MoveToApplications::moveToApplicationsIfNeeded() {
    const QString bundlePath = m_bundle.bundlePath;
    const bool readOnly = m_host.isOnReadOnlyVolume(bundlePath);
    const bool underVolumes =
        std::any_of(m_folders.volumePrefixes.begin(), m_folders.volumePrefixes.end(),
                    [&](const QString& prefix) { return !prefix.isEmpty() && bundlePath.startsWith(prefix); });
    if (!readOnly && !underVolumes) return true;

    Alert alert;
    alert.style = Alert::Style::warning;
    alert.messageText = tr("Move Kavrino Pro to Applications");
    alert.informativeText = m_wording.runningFromMedia;
    alert.buttons = {tr("Move to Applications"), tr("Quit")};
    if (m_dialogs.runAlert(alert) == 0) moveToApplications(bundlePath);
    m_host.terminate();
    return false;
}

QString MoveToApplications::destinationFor(const QString& bundlePath) const {
    QString folder = m_folders.applicationsFolder;
    if (!folder.endsWith('/')) folder += '/';
    return folder + QFileInfo(QDir::cleanPath(bundlePath)).fileName();
}

void MoveToApplications::moveToApplications(const QString& bundlePath) {
    const QString destination = destinationFor(bundlePath);
    const fs::path source = toPath(bundlePath);
    const fs::path target = toPath(destination);

    // Removing the destination first would delete the running copy itself when the two are the
    // same folder, and copying a folder into itself never ends: neither can be done for the user.
    if (isSameOrInside(target, source) || isSameOrInside(source, target)) {
        showFailure();
        return;
    }
    std::error_code error;
    if (fs::exists(fs::symlink_status(target, error))) {
        fs::remove_all(target, error);
        if (error) {
            showFailure();
            return;
        }
    }
    // The folder may not exist yet on a new home folder.
    fs::create_directories(target.parent_path(), error);
    if (error || !copyRecursively(bundlePath, destination)) {
        showFailure();
        return;
    }
    // A single-file bundle (an AppImage) is its own executable.
    QString executable = destination;
    if (QFileInfo(bundlePath).isDir()) {
        const QString inside = QDir(bundlePath).relativeFilePath(m_bundle.executablePath);
        if (!inside.startsWith(QStringLiteral(".."))) executable = destination + '/' + inside;
    }
    m_host.launchNewInstance(executable);
}

void MoveToApplications::showFailure() {
    Alert alert;
    alert.style = Alert::Style::informational;
    alert.messageText = tr("Couldn't move automatically");
    alert.informativeText = m_wording.copyFailed;
    m_dialogs.runAlert(alert);
}

}  // namespace kavrino
