// Launch-finished work: the install check runs only where there is something to move.
#include "app/platform/app_host.h"
#include "app/platform/environment.h"
#include "app/platform/install_location.h"
#include "app/platform/testing/fake_dialogs.h"
#include "workstation/app_delegate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kavrino {
namespace {

class RecordingHost final : public AppHost {
public:
    bool readOnly = false;
    int terminations = 0;
    QStringList launched;
    bool isOnReadOnlyVolume(const QString&) const override { return readOnly; }
    void launchNewInstance(const QString& path) override { launched << path; }
    void terminate() override { ++terminations; }
};

TEST(AppDelegate, StartedFromAWritableFolderTheLaunchContinuesSilently) {
    FakeDialogs dialogs;
    RecordingHost host;
    FixedEnvironment environment;
    AppDelegate(dialogs, host, environment).applicationDidFinishLaunching();
    EXPECT_TRUE(dialogs.alertsShown.empty());
    EXPECT_EQ(host.terminations, 0);
}

TEST(AppDelegate, WithoutAnAppImageNothingIsCheckedEvenOnAReadOnlyVolume) {
    // A system install on a read-only /usr, a snap or /nix/store: nothing to move, no alert.
    FakeDialogs dialogs;
    RecordingHost host;
    host.readOnly = true;
    FixedEnvironment environment;
    AppDelegate(dialogs, host, environment).applicationDidFinishLaunching();
    EXPECT_TRUE(dialogs.alertsShown.empty());
    EXPECT_EQ(host.terminations, 0);
}

TEST(AppDelegate, AnAppImageOnAReadOnlyVolumeAsksAndEnds) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString image = folder.filePath("Kavrino_Pro.AppImage");
    QFile file(image);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    FakeDialogs dialogs;
    dialogs.alertAnswers = {1};  // Quit
    RecordingHost host;
    host.readOnly = true;
    FixedEnvironment environment{{"APPIMAGE", image}};
    AppDelegate(dialogs, host, environment).applicationDidFinishLaunching();
    ASSERT_EQ(dialogs.alertsShown.size(), 1u);
    EXPECT_EQ(dialogs.alertsShown[0].messageText, "Move Kavrino Pro to Applications");
    EXPECT_EQ(host.terminations, 1);
    EXPECT_TRUE(host.launched.isEmpty());
}

TEST(InstallLocation, TheTestsOwnFolderIsNotOnAReadOnlyVolume) {
    EXPECT_FALSE(isOnReadOnlyVolume(QCoreApplication::applicationDirPath()));
    EXPECT_FALSE(isOnReadOnlyVolume("/nonexistent/path/for/the/check"));
}

}  // namespace
}  // namespace kavrino
