// Where one user-perceived character ends and the next begins, as the CSV readers and the
// reload powder key both decide it.
#include "core/character_joins.h"

#include <gtest/gtest.h>

namespace kavrino::characters {
namespace {

TEST(CharacterJoins, MarksJoinersAndModifiersAttachToTheCharacterBefore) {
    EXPECT_TRUE(extendsPrevious(0x0301));   // combining acute accent
    EXPECT_TRUE(extendsPrevious(0x20DD));   // enclosing circle
    EXPECT_TRUE(extendsPrevious(0x0903));   // Devanagari visarga, a spacing mark
    EXPECT_FALSE(extendsPrevious(0x102B));  // a Myanmar spacing mark that stands alone
    EXPECT_TRUE(extendsPrevious(0x0E33));   // Thai AM
    EXPECT_TRUE(extendsPrevious(0x200D));   // zero-width joiner
    EXPECT_TRUE(extendsPrevious(0x1F3FB));  // emoji skin tone
    EXPECT_FALSE(extendsPrevious(','));
    EXPECT_FALSE(extendsPrevious('a'));
}

TEST(CharacterJoins, PrependedSignsAttachToTheCharacterAfter) {
    EXPECT_TRUE(extendsNext(0x0600));   // Arabic number sign
    EXPECT_TRUE(extendsNext(0x0D4E));   // Malayalam dot reph
    EXPECT_TRUE(extendsNext(0x11A3A));  // Zanabazar square cluster-initial RA
    EXPECT_FALSE(extendsNext('a'));
    EXPECT_TRUE(continuesCharacter(0x0D4E, 0x0D15));
    EXPECT_FALSE(continuesCharacter(0x0D15, 0x0D4E));
}

TEST(CharacterJoins, HangulJamoBuildOneSyllable) {
    EXPECT_TRUE(continuesCharacter(0x1100, 0x1161));   // leading + vowel
    EXPECT_TRUE(continuesCharacter(0x1161, 0x11A8));   // vowel + trailing
    EXPECT_TRUE(continuesCharacter(0xAC00, 0x11A8));   // open syllable + trailing
    EXPECT_FALSE(continuesCharacter(0xAC01, 0x1161));  // closed syllable + vowel
    EXPECT_FALSE(continuesCharacter(0x11A8, 0x1100));  // trailing + leading starts anew
    EXPECT_FALSE(continuesCharacter('a', 'b'));
}

}  // namespace
}  // namespace kavrino::characters
