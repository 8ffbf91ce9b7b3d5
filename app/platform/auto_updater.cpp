#include "app/platform/auto_updater.h"

#include "app/platform/dialogs.h"

namespace kavrino {

AutoUpdater::AutoUpdater(Dialogs& dialogs, QObject* parent) : QObject(parent), m_dialogs(dialogs) {
    // Starting schedules nothing: without a feed there is nothing to check in the background.
    m_started = true;
}

void AutoUpdater::checkForUpdates() {
    Alert alert;
    alert.style = Alert::Style::informational;
    alert.messageText = tr("Updates are not set up");
    alert.informativeText =
        tr("This copy of Kavrino Pro has no update feed, so it cannot look for a newer version. "
           "It makes no network connection. To update, install a newer version by hand.");
    m_dialogs.runAlert(alert);
}

}  // namespace kavrino
