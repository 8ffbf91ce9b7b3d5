// The install check over temporary folders: when it shows its alert, what each answer does, the
// recursive copy that replaces an older copy, the relaunch, the failure alert, and the Linux
// AppImage, a single file that is tested, copied and started by itself.
#include "app/platform/app_host.h"
#include "app/platform/environment.h"
#include "app/platform/install_location.h"
#include "app/platform/move_to_applications.h"
#include "app/platform/testing/fake_dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kavrino {
namespace {

class FakeAppHost final : public AppHost {
public:
    bool readOnly = false;
    QStringList launched;
    int terminations = 0;
    bool isOnReadOnlyVolume(const QString&) const override { return readOnly; }
    void launchNewInstance(const QString& executablePath) override { launched << executablePath; }
    void terminate() override { ++terminations; }
};

bool writeFile(const QString& path, const QByteArray& contents) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const char* const kMoveTitle = "Move Kavrino Pro to Applications";
const char* const kFailureTitle = "Couldn't move automatically";
const InstallWording kWording{"running from media", "copy it by hand"};

// A disk image under <tmp>/Volumes/ holding "Kavrino Pro" with an executable, a nested file and
// a link; the applications folder <tmp>/Applications/.
struct Install : ::testing::Test {
    QTemporaryDir root;
    QString volumes, applications, bundle, executable;
    FakeDialogs dialogs;
    FakeAppHost host;

    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        volumes = root.filePath("Volumes") + "/";
        applications = root.filePath("Applications") + "/";
        bundle = volumes + "Kavrino/Kavrino Pro";
        executable = bundle + "/bin/kavrino";
        ASSERT_TRUE(QDir().mkpath(applications));
        ASSERT_TRUE(writeFile(executable, "#!/bin/sh\n"));
        QFile::setPermissions(executable, QFile::permissions(executable) | QFile::ExeOwner);
        ASSERT_TRUE(writeFile(bundle + "/share/data/bullets.json", "{\"bullets\":[]}"));
        ASSERT_TRUE(QFile::link("data/bullets.json", bundle + "/share/current.json"));
    }
    MoveToApplications check(const QString& bundlePath) {
        return MoveToApplications(dialogs, host, {{volumes}, applications},
                                  {bundlePath, bundlePath + "/bin/kavrino"}, kWording);
    }
    QString installed() const { return applications + "Kavrino Pro"; }
};

TEST_F(Install, StartedOutsideAVolumeOnAWritableDiskNothingHappens) {
    const QString elsewhere = root.filePath("home/user/Kavrino Pro");
    ASSERT_TRUE(writeFile(elsewhere + "/bin/kavrino", "x"));
    EXPECT_TRUE(check(elsewhere).moveToApplicationsIfNeeded());
    EXPECT_TRUE(dialogs.alertsShown.empty());
    EXPECT_EQ(host.terminations, 0);
    EXPECT_TRUE(host.launched.isEmpty());
}

TEST_F(Install, TheAlertIsShownForAReadOnlyVolumeOrAPathUnderTheVolumePrefix) {
    struct Row {
        const char* name;
        bool readOnly;
        bool underVolumes;
    };
    for (const Row& row : {Row{"read-only volume elsewhere", true, false},
                           Row{"writable disk under the prefix", false, true},
                           Row{"read-only disk image", true, true}}) {
        SCOPED_TRACE(row.name);
        dialogs = FakeDialogs();
        host = FakeAppHost();
        host.readOnly = row.readOnly;
        dialogs.alertAnswers = {1};  // Quit
        const QString path = row.underVolumes ? bundle : root.filePath("elsewhere/Kavrino Pro");
        EXPECT_FALSE(check(path).moveToApplicationsIfNeeded());
        ASSERT_EQ(dialogs.alertsShown.size(), 1u);
        const Alert& alert = dialogs.alertsShown[0];
        EXPECT_EQ(alert.style, Alert::Style::warning);
        EXPECT_EQ(alert.messageText, kMoveTitle);
        EXPECT_EQ(alert.informativeText, kWording.runningFromMedia);
        EXPECT_EQ(alert.buttons, QStringList({"Move to Applications", "Quit"}));
        EXPECT_EQ(host.terminations, 1);
    }
}

TEST_F(Install, PrefixComparisonIsCaseSensitive) {
    const QString lower = root.filePath("volumes/Kavrino Pro");
    MoveToApplications lowerCase(dialogs, host, {{volumes}, applications},
                                 {lower, lower + "/bin/kavrino"}, kWording);
    EXPECT_TRUE(lowerCase.moveToApplicationsIfNeeded());
}

TEST_F(Install, QuitCopiesNothingAndEnds) {
    dialogs.alertAnswers = {1};
    EXPECT_FALSE(check(bundle).moveToApplicationsIfNeeded());
    EXPECT_FALSE(QFileInfo::exists(installed()));
    EXPECT_TRUE(host.launched.isEmpty());
    EXPECT_EQ(host.terminations, 1);
}

TEST_F(Install, MoveCopiesTheWholeFolderStartsTheCopyAndEnds) {
    dialogs.alertAnswers = {0};
    EXPECT_FALSE(check(bundle).moveToApplicationsIfNeeded());
    EXPECT_EQ(readFile(installed() + "/bin/kavrino"), "#!/bin/sh\n");
    EXPECT_TRUE(QFileInfo(installed() + "/bin/kavrino").isExecutable());
    EXPECT_EQ(readFile(installed() + "/share/data/bullets.json"), "{\"bullets\":[]}");
    const QFileInfo link(installed() + "/share/current.json");
    EXPECT_TRUE(link.isSymLink());  // copied as a link, still pointing inside the copy
    EXPECT_EQ(readFile(link.filePath()), "{\"bullets\":[]}");
    EXPECT_EQ(host.launched, QStringList{installed() + "/bin/kavrino"});
    EXPECT_EQ(host.terminations, 1);
    EXPECT_EQ(dialogs.alertsShown.size(), 1u);  // no failure alert
    EXPECT_TRUE(QFileInfo::exists(executable));  // the original stays
}

TEST_F(Install, MoveReplacesAnOlderCopy) {
    ASSERT_TRUE(writeFile(installed() + "/bin/kavrino", "old"));
    ASSERT_TRUE(writeFile(installed() + "/only-in-old-version.txt", "old"));
    dialogs.alertAnswers = {0};
    check(bundle).moveToApplicationsIfNeeded();
    EXPECT_EQ(readFile(installed() + "/bin/kavrino"), "#!/bin/sh\n");
    EXPECT_FALSE(QFileInfo::exists(installed() + "/only-in-old-version.txt"));
    EXPECT_EQ(host.launched.size(), 1);
}

TEST_F(Install, ACopyThatFailsShowsTheFailureAlertThenEnds) {
    // The applications "folder" is a file: nothing can be copied into it.
    const QString blocked = root.filePath("blocked");
    ASSERT_TRUE(writeFile(blocked, "not a folder"));
    dialogs.alertAnswers = {0, 0};
    MoveToApplications move(dialogs, host, {{volumes}, blocked + "/"}, {bundle, executable}, kWording);
    EXPECT_FALSE(move.moveToApplicationsIfNeeded());
    ASSERT_EQ(dialogs.alertsShown.size(), 2u);
    EXPECT_EQ(dialogs.alertsShown[1].messageText, kFailureTitle);
    EXPECT_EQ(dialogs.alertsShown[1].informativeText, kWording.copyFailed);
    EXPECT_EQ(dialogs.alertsShown[1].buttons, QStringList());  // one default button
    EXPECT_TRUE(host.launched.isEmpty());
    EXPECT_EQ(host.terminations, 1);
}

// A bundle that already sits where the copy would go (a read-only applications folder, say) must
// not be removed to make room for a copy of itself.
TEST_F(Install, NeverRemovesTheRunningCopyToReplaceItWithItself) {
    host.readOnly = true;
    const QString inPlace = installed();
    ASSERT_TRUE(writeFile(inPlace + "/bin/kavrino", "running"));
    dialogs.alertAnswers = {0, 0};
    EXPECT_FALSE(check(inPlace).moveToApplicationsIfNeeded());
    EXPECT_EQ(readFile(inPlace + "/bin/kavrino"), "running");
    ASSERT_EQ(dialogs.alertsShown.size(), 2u);
    EXPECT_EQ(dialogs.alertsShown[1].messageText, kFailureTitle);
    EXPECT_TRUE(host.launched.isEmpty());
}

TEST_F(Install, DestinationIsTheApplicationsFolderAndTheBundlesOwnName) {
    auto move = check(bundle);
    EXPECT_EQ(move.destinationFor(bundle), applications + "Kavrino Pro");
    EXPECT_EQ(move.destinationFor(bundle + "/"), applications + "Kavrino Pro");
    EXPECT_EQ(move.destinationFor(volumes + "Kavrino/Kavrino Pro.app"), applications + "Kavrino Pro.app");
}

// Linux: an AppImage file on removable media or a read-only volume; the media folders
// <tmp>/media/ and <tmp>/run/media/, the applications folder <tmp>/home/Applications/.
struct AppImageInstall : ::testing::Test {
    QTemporaryDir root;
    QString media, runMedia, applications;
    FakeDialogs dialogs;
    FakeAppHost host;

    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        media = root.filePath("media") + "/";
        runMedia = root.filePath("run/media") + "/";
        applications = root.filePath("home/Applications") + "/";
    }
    QString appImageAt(const QString& folder) {
        const QString path = folder + "Kavrino_Pro-x86_64.AppImage";
        EXPECT_TRUE(writeFile(path, "\x7f" "ELF appimage"));
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        return path;
    }
    // The check as the launch runs it, for the AppImage that APPIMAGE names.
    bool launchCheck(const QString& appImage) {
        FixedEnvironment environment{{"APPIMAGE", appImage}};
        const auto bundle = runningBundle(environment);
        if (!bundle) return true;
        MoveToApplications check(dialogs, host, {{media, runMedia}, applications}, *bundle);
        return check.moveToApplicationsIfNeeded();
    }
};

TEST_F(AppImageInstall, OnlyAnAppImageThatExistsIsLookedAt) {
    EXPECT_FALSE(runningBundle(FixedEnvironment()).has_value());  // build tree, system install
    EXPECT_FALSE(runningBundle(FixedEnvironment{{"APPIMAGE", ""}}).has_value());
    EXPECT_FALSE(runningBundle(FixedEnvironment{{"APPIMAGE", root.filePath("gone.AppImage")}}).has_value());
    EXPECT_FALSE(runningBundle(FixedEnvironment{{"APPIMAGE", root.path()}}).has_value());  // a folder
    const QString image = appImageAt(media + "stick/");
    const auto bundle = runningBundle(FixedEnvironment{{"APPIMAGE", image}});
    ASSERT_TRUE(bundle.has_value());
    EXPECT_EQ(bundle->bundlePath, image);
    EXPECT_EQ(bundle->executablePath, image);
}

TEST_F(AppImageInstall, OnRemovableMediaOrAReadOnlyVolumeItIsCopiedAndStartedFromTheCopy) {
    struct Row {
        const char* name;
        QString folder;
        bool readOnly;
    };
    for (const Row& row : {Row{"writable stick under /media", media + "stick/", false},
                           Row{"stick under /run/media", runMedia + "user/stick/", false},
                           Row{"read-only volume elsewhere", root.filePath("mnt/iso") + "/", true}}) {
        SCOPED_TRACE(row.name);
        dialogs = FakeDialogs();
        host = FakeAppHost();
        host.readOnly = row.readOnly;
        dialogs.alertAnswers = {0};  // Move to Applications
        const QString image = appImageAt(row.folder);
        EXPECT_FALSE(launchCheck(image));
        const QString copy = applications + "Kavrino_Pro-x86_64.AppImage";
        EXPECT_EQ(readFile(copy), "\x7f" "ELF appimage");
        EXPECT_TRUE(QFileInfo(copy).isExecutable());
        EXPECT_EQ(host.launched, QStringList{copy});
        EXPECT_EQ(host.terminations, 1);
        ASSERT_EQ(dialogs.alertsShown.size(), 1u);
        EXPECT_EQ(dialogs.alertsShown[0].informativeText, platformInstallWording().runningFromMedia);
        EXPECT_TRUE(QFileInfo::exists(image));  // the original stays

        // The copy, started from the home folder's writable disk, passes the check.
        FakeDialogs again;
        FakeAppHost writable;
        MoveToApplications second(again, writable, {{media, runMedia}, applications},
                                  {copy, copy});
        EXPECT_TRUE(second.moveToApplicationsIfNeeded());
        EXPECT_TRUE(again.alertsShown.empty());
        QFile::remove(copy);
    }
}

TEST_F(AppImageInstall, ElsewhereOnAWritableDiskNothingIsShown) {
    EXPECT_TRUE(launchCheck(appImageAt(root.filePath("home/Downloads") + "/")));
    EXPECT_TRUE(dialogs.alertsShown.empty());
    EXPECT_EQ(host.terminations, 0);
}

TEST(InstallWordingOnLinux, SpeaksOfTheAppImageNotADiskImage) {
    const InstallWording wording = platformInstallWording();
    for (const QString& text : {wording.runningFromMedia, wording.copyFailed}) {
        EXPECT_TRUE(text.contains("AppImage")) << text.toStdString();
        EXPECT_FALSE(text.contains("DMG")) << text.toStdString();
        EXPECT_FALSE(text.contains("disk image")) << text.toStdString();
    }
    const InstallFolders folders = platformInstallFolders();
    EXPECT_EQ(folders.volumePrefixes, QStringList({"/media/", "/run/media/"}));
    EXPECT_EQ(folders.applicationsFolder, QDir::homePath() + "/Applications/");
}

}  // namespace
}  // namespace kavrino
