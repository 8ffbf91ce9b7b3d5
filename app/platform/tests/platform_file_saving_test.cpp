// Saving a document: replaced whole or left alone, never half-written, and a reason when it
// cannot be saved.
#include "app/platform/file_saving.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>

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

}  // namespace
}  // namespace kavrino
