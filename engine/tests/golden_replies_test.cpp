// Whole replies compared byte for byte with those of a second, independent implementation of the
// solve (data/make_golden.py, in Python over the same doubles and C maths library), covering
// both drag tables, custom curves (ordered, unordered, and of negative drag, whose last digits
// show the order of the drag products), BC bands, every correction, degenerate inputs, the 60 s
// flight bound, and 25 varied loads, zeros and conditions.
#include "solve_json.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace kavrino_engine {
namespace {

TEST(GoldenReplies, MatchTheIndependentImplementation) {
    std::ifstream file(KAVRINO_SOURCE_DIR "/engine/tests/data/golden_replies.txt");
    ASSERT_TRUE(file) << "missing " KAVRINO_SOURCE_DIR "/engine/tests/data/golden_replies.txt";
    std::string request;
    std::string reply;
    int cases = 0;
    while (std::getline(file, request) && std::getline(file, reply)) {
        SCOPED_TRACE(request);
        EXPECT_EQ(solve_json(request), reply);
        ++cases;
    }
    EXPECT_EQ(cases, 49);
}

}  // namespace
}  // namespace kavrino_engine
