// Reading a file the user chose as strict UTF-8: the text without its byte-order mark, or
// why it cannot be had (unreadable, too large, not UTF-8).
#include "app/platform/file_reading.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace kavrino {
namespace {

QString writeFile(const QTemporaryDir& folder, const char* name, std::string_view bytes) {
    const QString path = folder.filePath(QString::fromLatin1(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(bytes.data(), qint64(bytes.size()));
    return path;
}

std::variant<std::string, TextFileFailure> readBytes(std::string_view bytes, std::size_t largest = 1 << 20) {
    QTemporaryDir folder;
    return readUtf8TextFile(writeFile(folder, "file.csv", bytes), largest);
}

using Read = std::variant<std::string, TextFileFailure>;

TEST(ReadUtf8TextFile, GivesTheTextWithoutOneLeadingByteOrderMark) {
    struct Row {
        const char* name;
        std::string bytes;
        Read expected;
    };
    const Row rows[] = {
        {"plain", "Velocity\n2800\n", std::string("Velocity\n2800\n")},
        {"byte-order mark removed", "\xEF\xBB\xBFVelocity\n", std::string("Velocity\n")},
        {"only the first of two", "\xEF\xBB\xBF\xEF\xBB\xBFx", std::string("\xEF\xBB\xBFx")},
        {"a mark later on stays", "x\xEF\xBB\xBF", std::string("x\xEF\xBB\xBF")},
        {"only a mark", "\xEF\xBB\xBF", std::string()},
        {"empty file", "", std::string()},
        {"every length of sequence", "\xC2\xB0 \xE2\x80\x94 \xF0\x9F\x98\x80", std::string("\xC2\xB0 \xE2\x80\x94 \xF0\x9F\x98\x80")},
        {"a noncharacter is still UTF-8", "\xEF\xBF\xBE", std::string("\xEF\xBF\xBE")},
        {"a NUL byte is still UTF-8", std::string("a\0b", 3), std::string("a\0b", 3)},
        {"Latin-1 degree sign", "59\xB0" "F", TextFileFailure::notUtf8},
        {"byte FF", "a\xFF", TextFileFailure::notUtf8},
        {"overlong NUL", "a\xC0\x80", TextFileFailure::notUtf8},
        {"encoded surrogate", "\xED\xA0\x80", TextFileFailure::notUtf8},
        {"above U+10FFFF", "\xF4\x90\x80\x80", TextFileFailure::notUtf8},
        {"stray continuation byte", "a\x80" "b", TextFileFailure::notUtf8},
        {"sequence cut off at the end", "2800\xE2\x80", TextFileFailure::notUtf8},
        {"sequence cut off before ASCII", "\xE2\x80" "2800", TextFileFailure::notUtf8},
        {"a bad mark is not removed", "\xEF\xBB", TextFileFailure::notUtf8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(readBytes(row.bytes), row.expected);
    }
}

TEST(ReadUtf8TextFile, FailsOnWhatCannotBeRead) {
    QTemporaryDir folder;
    EXPECT_EQ(readUtf8TextFile(folder.filePath("missing.csv"), 1 << 20), Read(TextFileFailure::cannotRead));
    EXPECT_EQ(readUtf8TextFile(folder.path(), 1 << 20), Read(TextFileFailure::cannotRead));
    EXPECT_EQ(readUtf8TextFile(QString(), 1 << 20), Read(TextFileFailure::cannotRead));
}

TEST(ReadUtf8TextFile, RefusesFilesOverTheLimitWithoutReadingThem) {
    QTemporaryDir folder;
    const std::size_t limit = 64u << 20;
    // Sparse files: nothing is written, so the test stays quick at the real bound.
    QFile over(folder.filePath("over.csv"));
    ASSERT_TRUE(over.open(QIODevice::WriteOnly) && over.resize(qint64(limit) + 1));
    over.close();
    EXPECT_EQ(readUtf8TextFile(over.fileName(), limit), Read(TextFileFailure::tooLarge));

    EXPECT_EQ(readBytes("12345", 5), Read(std::string("12345")));
    EXPECT_EQ(readBytes("123456", 5), Read(TextFileFailure::tooLarge));
    // A device never ends; its size is unknown until read, and reading stops past the limit.
    if (QFile::exists("/dev/zero")) {
        EXPECT_EQ(readUtf8TextFile("/dev/zero", 4096), Read(TextFileFailure::tooLarge));
    }
}

// The check runs in pieces; it must agree with one strict decode of the whole text wherever a
// piece ends, in particular inside a multi-byte sequence or next to a malformed one.
TEST(IsWellFormedUtf8, AgreesWithOneStrictDecodeOfTheWholeText) {
    const std::string_view pieces[] = {"a", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\n"};
    const std::string_view faults[] = {"\xFF", "\x80", "\xC3", "\xE2\x82", "\xF0\x9F\x98", "\xC0\xAF", "\xED\xB0\x80"};
    std::mt19937 random(20261207);
    for (int trial = 0; trial < 200; ++trial) {
        std::string text;
        const std::size_t length = 65536 - 8 + random() % 16 + (trial % 3) * 65536;
        while (text.size() < length) text += pieces[random() % std::size(pieces)];
        if (trial % 2 == 1) {
            // A fault near a piece boundary (multiples of 65,536 bytes) or anywhere.
            const std::size_t boundary = 65536 * (1 + random() % 2);
            const std::size_t at = std::min(text.size(), trial % 4 == 1 ? boundary - 4 + random() % 8 : random() % text.size());
            text.insert(at, faults[random() % std::size(faults)]);
        }
        QStringDecoder whole(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString decoded = whole.decode(QByteArrayView(text.data(), qsizetype(text.size())));
        SCOPED_TRACE(trial);
        EXPECT_EQ(isWellFormedUtf8(text), !whole.hasError());
    }
}

}  // namespace
}  // namespace kavrino
