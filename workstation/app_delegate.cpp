#include "workstation/app_delegate.h"

#include "app/platform/install_location.h"
#include "app/platform/move_to_applications.h"

namespace kavrino {

AppDelegate::AppDelegate(Dialogs& dialogs, AppHost& host, const Environment& environment)
    : m_dialogs(dialogs), m_host(host), m_environment(environment) {}

void AppDelegate::applicationDidFinishLaunching() {
    const auto bundle = runningBundle(m_environment);
    if (!bundle) return;  // nothing the check could move: a build tree or a system install
    MoveToApplications check(m_dialogs, m_host, platformInstallFolders(), *bundle);
    check.moveToApplicationsIfNeeded();
}

}  // namespace kavrino
