// Launch-finished work: the install check over the running test binary's own folder, and the
// platform's folders for it.
#include "app/app_delegate.h"
#include "app/platform/app_host.h"
#include "app/platform/environment.h"
#include "app/platform/install_location.h"
#include "app/platform/testing/fake_dialogs.h"

#include <QCoreApplication>
#include <QDir>

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

TEST(AppDelegate, StartedFromAReadOnlyVolumeItAsksAndEnds) {
    FakeDialogs dialogs;
    dialogs.alertAnswers = {1};  // Quit
    RecordingHost host;
    host.readOnly = true;
    FixedEnvironment environment;
    AppDelegate(dialogs, host, environment).applicationDidFinishLaunching();
    ASSERT_EQ(dialogs.alertsShown.size(), 1u);
    EXPECT_EQ(dialogs.alertsShown[0].messageText, "Move Kavrino Pro to Applications");
    EXPECT_EQ(host.terminations, 1);
    EXPECT_TRUE(host.launched.isEmpty());
}

TEST(InstallLocation, LinuxFoldersAndTheRunningBundle) {
    const InstallFolders folders = platformInstallFolders();
    EXPECT_EQ(folders.volumePrefix, "/media/");
    EXPECT_EQ(folders.applicationsFolder, QDir::homePath() + "/Applications/");

    FixedEnvironment plain;
    const RunningBundle bundle = runningBundle(plain);
    EXPECT_EQ(bundle.bundlePath, QCoreApplication::applicationDirPath());
    EXPECT_EQ(bundle.executablePath, QCoreApplication::applicationFilePath());

    // Inside an AppImage the whole mounted AppDir is the bundle.
    QDir parent(QCoreApplication::applicationDirPath());
    parent.cdUp();
    FixedEnvironment appImage{{"APPDIR", parent.absolutePath()}};
    EXPECT_EQ(runningBundle(appImage).bundlePath, parent.absolutePath());
    // An APPDIR that does not hold the executable is not trusted.
    FixedEnvironment stray{{"APPDIR", "/nonexistent/AppDir"}};
    EXPECT_EQ(runningBundle(stray).bundlePath, QCoreApplication::applicationDirPath());
}

TEST(InstallLocation, TheTestsOwnFolderIsNotOnAReadOnlyVolume) {
    EXPECT_FALSE(isOnReadOnlyVolume(QCoreApplication::applicationDirPath()));
    EXPECT_FALSE(isOnReadOnlyVolume("/nonexistent/path/for/the/check"));
}

}  // namespace
}  // namespace kavrino
