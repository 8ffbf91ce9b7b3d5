#pragma once
// Which code points join their neighbours into one user-perceived character, after Unicode's
// extended grapheme cluster rules: the one answer for every reader that must not cut a
// character in two (the CSV readers at their separators, the reload powder key at a prefix).
namespace kavrino::characters {

// `codePoint` attaches to the character before it: combining marks (but the spacing marks that
// stand alone), joiners, emoji modifiers and tags, Thai and Lao AM, the halfwidth sound marks.
bool extendsPrevious(char32_t codePoint);

// `codePoint` attaches to the character after it: the prepended concatenation marks and signs.
bool extendsNext(char32_t codePoint);

// `next` continues the character that `previous` belongs to: either joins the other, or the two
// are Hangul jamo that build one syllable.
bool continuesCharacter(char32_t previous, char32_t next);

}  // namespace kavrino::characters
