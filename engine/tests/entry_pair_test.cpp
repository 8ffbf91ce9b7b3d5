// The C entry pair as the application sees it through the shared library.
#include "kavrino_engine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string solveText(const char* request) {
    std::unique_ptr<char, decltype(&kavrino_free)> reply(kavrino_solve_json(request), &kavrino_free);
    return reply ? std::string(reply.get()) : std::string("<null>");
}

TEST(EntryPair, NullAndBytesThatAreNotUtf8GiveNoReply) {
    EXPECT_EQ(kavrino_solve_json(nullptr), nullptr);
    kavrino_free(nullptr);
    const char* notUtf8[] = {
        "{\"a\":\"\xff\"}",          // never valid
        "{\"a\":\"\xc0\x80\"}",      // overlong NUL
        "{\"a\":\"\xe0\x80\xaf\"}",  // overlong slash
        "{\"a\":\"\xed\xa0\x80\"}",  // surrogate
        "{\"a\":\"\xf4\x90\x80\x80\"}",  // above U+10FFFF
        "{\"a\":\"\xe2\x82\"}",      // cut short
        "\x80",
    };
    for (const char* request : notUtf8) {
        SCOPED_TRACE(request);
        EXPECT_EQ(kavrino_solve_json(request), nullptr);
    }
}

TEST(EntryPair, Utf8TextIsReadAndAnsweredWithAReply) {
    EXPECT_EQ(solveText("{\"\xf0\x9f\x8e\xaf\":\"\xc3\xa9\xe2\x82\xac\",\"maxRange\":0}"),
              R"({"points":[],"stability":{"sg":2.32,"rating":"stable"},"transonicRange":null,"subsonicRange":null})");
    EXPECT_EQ(solveText(""), R"({"error":"parse: EOF while parsing a value at line 1 column 0"})");
    // Column counts bytes: the two-byte é moves the fault two columns on.
    EXPECT_EQ(solveText("{\"\xc3\xa9\":1,}"), R"({"error":"parse: trailing comma at line 1 column 9"})");
}

TEST(EntryPair, ConcurrentSolvesGiveIdenticalReplies) {
    const char* requests[] = {"{}", R"({"dragModel":"G7","ballisticCoefficient":0.25,"windSpeed":10})",
                              R"({"dragModel":"custom","customCurve":[[0.5,0.2],[3,0.3]]})", "[1,2,3]"};
    std::vector<std::string> expected;
    for (const char* r : requests) expected.push_back(solveText(r));

    constexpr int kThreads = 8;
    std::vector<std::vector<std::string>> results(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 3; ++round) {
                for (const char* r : requests) results[t].push_back(solveText(r));
            }
        });
    }
    for (auto& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t) {
        for (std::size_t i = 0; i < results[t].size(); ++i) {
            EXPECT_EQ(results[t][i], expected[i % expected.size()]) << "thread " << t;
        }
    }
}

TEST(EntryPair, LibraryExportsExactlyTheTwoFunctions) {
    const std::string command = "nm -D --defined-only '" KAVRINO_ENGINE_LIBRARY "'";
    std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), &pclose);
    ASSERT_TRUE(pipe);
    std::set<std::string> names;
    char line[1024];
    while (std::fgets(line, sizeof line, pipe.get())) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        names.insert(text.substr(text.rfind(' ') + 1));
    }
    EXPECT_EQ(names, (std::set<std::string>{"kavrino_free", "kavrino_solve_json"}));
}

// A solve can return while its zeroing thread finishes a pass; unloading the library then must
// leave its code in place.
TEST(EntryPair, LibraryStaysMappedWhenACallerUnloadsIt) {
    const std::string command = "readelf -d '" KAVRINO_ENGINE_LIBRARY "'";
    std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), &pclose);
    ASSERT_TRUE(pipe);
    bool noDelete = false;
    char line[1024];
    while (std::fgets(line, sizeof line, pipe.get())) {
        const std::string text(line);
        if (text.find("FLAGS_1") != std::string::npos && text.find("NODELETE") != std::string::npos) noDelete = true;
    }
    EXPECT_TRUE(noDelete);
}

}  // namespace
