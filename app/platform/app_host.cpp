#include "app/platform/app_host.h"

#include "app/platform/install_location.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMetaObject>
#include <QProcess>

namespace kavrino {

bool QtAppHost::isOnReadOnlyVolume(const QString& path) const {
    return kavrino::isOnReadOnlyVolume(path);
}

void QtAppHost::launchNewInstance(const QString& executablePath) {
    QProcess::startDetached(executablePath, {}, QFileInfo(executablePath).absolutePath());
}

void QtAppHost::terminate() {
    // Queued, so it also works when called before the event loop has started.
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(0); },
                              Qt::QueuedConnection);
}

}  // namespace kavrino
