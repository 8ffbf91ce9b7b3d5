// Saving a document: replaced whole or left alone, never half-written, and a reason when it
// cannot be saved.
#include "app/platform/file_saving.h"

#include "app/platform/process_signals.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kavrino {
namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

TEST(SaveFileReplacing, WritesANewFile) {
    QTemporaryDir folder;
    const QString path = folder.filePath("card.pdf");
    EXPECT_EQ(saveFileReplacing(path, "%PDF-1.4 first"), std::nullopt);
    EXPECT_EQ(contents(path), "%PDF-1.4 first");
}

TEST(SaveFileReplacing, ReplacesAnExistingFileWholeAndLeavesNoTemporaryFile) {
    QTemporaryDir folder;
    const QString path = folder.filePath("card.pdf");
    ASSERT_EQ(saveFileReplacing(path, QByteArray(4096, 'a')), std::nullopt);
    EXPECT_EQ(saveFileReplacing(path, "short"), std::nullopt);
    EXPECT_EQ(contents(path), "short");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"card.pdf"});
}

TEST(SaveFileReplacing, ReportsWhyItCouldNotSave) {
    QTemporaryDir folder;
    struct Row {
        const char* name;
        QString path;
    };
    ASSERT_TRUE(QDir(folder.path()).mkdir("taken"));
    const Row rows[] = {
        {"folder does not exist", folder.filePath("missing/card.pdf")},
        {"a folder stands at the place", folder.filePath("taken")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<SaveFailure> failure = saveFileReplacing(row.path, "%PDF");
        ASSERT_TRUE(failure.has_value());
        EXPECT_FALSE(failure->reason.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(folder.filePath("missing/card.pdf")));
    EXPECT_TRUE(QFileInfo(folder.filePath("taken")).isDir());
}

// Runs `body` while this process may write files of at most `bytes` bytes, the way a nearly full
// disk stops a write part-way (a write past the limit fails instead of raising a signal).
template <typename Body>
void withFileSizeLimit(rlim_t bytes, Body body) {
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved;
    tight.rlim_cur = bytes;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    body();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
}

// Regression: a write cut short while the last buffered bytes went out was committed, and the
// cut-off copy replaced the earlier file.
TEST(SaveFileReplacing, AWriteCutShortKeepsTheEarlierFileWhole) {
    for (const int size : {5000, 100000}) {  // held in Qt's write buffer, and written past it
        SCOPED_TRACE(size);
        QTemporaryDir folder;
        const QString path = folder.filePath("comparison.csv");
        ASSERT_EQ(saveFileReplacing(path, "earlier"), std::nullopt);
        std::optional<SaveFailure> failure;
        withFileSizeLimit(1000, [&] { failure = saveFileReplacing(path, QByteArray(size, 'n')); });
        ASSERT_TRUE(failure.has_value());
        EXPECT_FALSE(failure->reason.isEmpty());
        EXPECT_EQ(contents(path), "earlier");
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"comparison.csv"});
    }
}

// Regression: under a file-size limit smaller than the file, the write raised SIGXFSZ and the
// workstation ended without a word; then the alert blamed a full disk that had room. A child
// process stands in for the workstation: the start-up set-up, a low limit, then the save both
// exports use, of a file held in Qt's write buffer and of one written past it.
TEST(SaveFileReplacing, PastTheFileSizeLimitSaysSoInsteadOfEndingTheProcess) {
    for (const int size : {5000, 100000}) {
        SCOPED_TRACE(size);
        QTemporaryDir folder;
        const QString path = folder.filePath("card.pdf");
        ASSERT_EQ(saveFileReplacing(path, "earlier"), std::nullopt);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_DFL);  // as a new process starts
            ignoreFileSizeLimitSignal();
            const rlimit tight{1000, RLIM_INFINITY};
            if (setrlimit(RLIMIT_FSIZE, &tight) != 0) _exit(3);
            const std::optional<SaveFailure> failure = saveFileReplacing(path, QByteArray(size, 'n'));
            _exit(!failure ? 1 : failure->reason == "the file is larger than the system lets this program write" ? 0 : 2);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_FALSE(WIFSIGNALED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 0) << "1: reported as saved; 2: another reason; 3: no limit set";
        EXPECT_EQ(contents(path), "earlier");
    }
}

}  // namespace
}  // namespace kavrino
