#include "app/app_delegate.h"

#include "app/platform/install_location.h"
#include "app/platform/move_to_applications.h"

namespace kavrino {

AppDelegate::AppDelegate(Dialogs& dialogs, AppHost& host, const Environment& environment)
    : m_dialogs(dialogs), m_host(host), m_environment(environment) {}

void AppDelegate::applicationDidFinishLaunching() {
    MoveToApplications check(m_dialogs, m_host, platformInstallFolders(),
                             runningBundle(m_environment));
    check.moveToApplicationsIfNeeded();
}

}  // namespace kavrino
