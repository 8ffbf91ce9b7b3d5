// Kavrino Pro: the ballistics workstation's entry point.
#include "app/platform/process_signals.h"
#include "workstation/kavrino_desktop_app.h"

#include <QApplication>

int main(int argc, char** argv) {
    kavrino::ignoreFileSizeLimitSignal();  // a save past `ulimit -f` fails with an alert
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kavrino Pro"));
    QApplication::setApplicationVersion(QStringLiteral(KAVRINO_VERSION));
    kavrino::KavrinoDesktopApp app(application);
    return app.run();
}
