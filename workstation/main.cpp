// Kavrino Pro: the ballistics workstation's entry point.
#include "workstation/kavrino_desktop_app.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kavrino Pro"));
    QApplication::setApplicationVersion(QStringLiteral(KAVRINO_VERSION));
    kavrino::KavrinoDesktopApp app(application);
    return app.run();
}
