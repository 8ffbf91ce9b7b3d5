// The CSV readers against a recorded run: 35,000 generated files (see csv_corpus.h) whose
// lines, cells, series and curves were recorded as fingerprints before the readers were
// rewritten to split lines and cells as views. Every file must still read exactly as recorded.
#include "core/tests/csv_corpus.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

using namespace kavrino::csv_corpus;

namespace {

constexpr std::uint64_t kCases = 35000;
// The fingerprint of all 35,000 case fingerprints, each written as 16 hex digits and a newline.
constexpr std::uint64_t kRecordedCorpusFingerprint = 0x920cc7adbaa9f051ull;

std::string hex(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, value);
    return text;
}

}  // namespace

TEST(CSVReaderCorpus, EveryGeneratedFileReadsAsRecorded) {
    // The first 2,000 cases one by one, so a difference names its case.
    std::ifstream recorded(KAVRINO_SOURCE_DIR "/core/tests/data/csv_reader_fingerprints.txt");
    std::vector<std::string> perCase;
    for (std::string line; std::getline(recorded, line);) perCase.push_back(line);
    ASSERT_EQ(perCase.size(), 2000u);

    std::string all;
    int differing = 0;
    for (std::uint64_t number = 0; number < kCases; ++number) {
        const std::string fingerprintText = hex(fingerprint(describeReaders(generateCase(number))));
        if (number < perCase.size() && fingerprintText != perCase[number] && ++differing <= 10) {
            ADD_FAILURE() << "case " << number << " reads differently:\n" << describeReaders(generateCase(number));
        }
        all += fingerprintText + "\n";
    }
    EXPECT_EQ(hex(fingerprint(all)), hex(kRecordedCorpusFingerprint));
}
