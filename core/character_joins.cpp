#include "core/character_joins.h"

#include <QChar>

namespace kavrino::characters {
namespace {

// Spacing combining marks that stand as characters of their own (Myanmar, Tai Tham, Tai Viet and
// Ahom vowel signs and tones that the grapheme rules leave out of the spacing marks).
bool isFreeSpacingMark(char32_t cp) {
    return cp == 0x102B || cp == 0x102C || cp == 0x1038 || (cp >= 0x1062 && cp <= 0x1064) ||
           (cp >= 0x1067 && cp <= 0x106D) || cp == 0x1083 || (cp >= 0x1087 && cp <= 0x108C) || cp == 0x108F ||
           (cp >= 0x109A && cp <= 0x109C) || cp == 0x1A61 || cp == 0x1A63 || cp == 0x1A64 || cp == 0xAA7B ||
           cp == 0xAA7D || cp == 0x11720 || cp == 0x11721;
}

enum class Jamo { none, leading, vowel, trailing, syllableLV, syllableLVT };

Jamo jamo(char32_t c) {
    if ((c >= 0x1100 && c <= 0x115F) || (c >= 0xA960 && c <= 0xA97C)) return Jamo::leading;
    if ((c >= 0x1160 && c <= 0x11A7) || (c >= 0xD7B0 && c <= 0xD7C6)) return Jamo::vowel;
    if ((c >= 0x11A8 && c <= 0x11FF) || (c >= 0xD7CB && c <= 0xD7FB)) return Jamo::trailing;
    if (c >= 0xAC00 && c <= 0xD7A3) return (c - 0xAC00) % 28 == 0 ? Jamo::syllableLV : Jamo::syllableLVT;
    return Jamo::none;
}

// Hangul: a leading jamo takes a vowel, another leading jamo or a syllable; a vowel or an open
// syllable takes a vowel or a trailing jamo; a trailing jamo or a closed syllable takes a
// trailing jamo.
bool buildsSyllable(char32_t previous, char32_t next) {
    const Jamo n = jamo(next);
    switch (jamo(previous)) {
    case Jamo::leading: return n != Jamo::none && n != Jamo::trailing;
    case Jamo::vowel:
    case Jamo::syllableLV: return n == Jamo::vowel || n == Jamo::trailing;
    case Jamo::trailing:
    case Jamo::syllableLVT: return n == Jamo::trailing;
    case Jamo::none: return false;
    }
    return false;
}

}  // namespace

bool extendsPrevious(char32_t cp) {
    if (cp < 0x300) return false;  // fast path: nothing below the combining diacritics joins
    switch (QChar::category(cp)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_Enclosing:
        return true;
    case QChar::Mark_SpacingCombining:
        return !isFreeSpacingMark(cp);
    default:
        break;
    }
    // Thai and Lao AM are spacing marks; the halfwidth katakana sound marks extend.
    return cp == 0x0E33 || cp == 0x0EB3 || cp == 0xFF9E || cp == 0xFF9F || cp == 0x200C || cp == 0x200D ||
           (cp >= 0x1F3FB && cp <= 0x1F3FF) || (cp >= 0xE0020 && cp <= 0xE007F);
}

bool extendsNext(char32_t cp) {
    return (cp >= 0x0600 && cp <= 0x0605) || cp == 0x06DD || cp == 0x070F || cp == 0x0890 || cp == 0x0891 ||
           cp == 0x08E2 || cp == 0x0D4E || cp == 0x110BD || cp == 0x110CD || cp == 0x111C2 || cp == 0x111C3 ||
           cp == 0x1193F || cp == 0x11941 || cp == 0x11A3A || (cp >= 0x11A84 && cp <= 0x11A89) || cp == 0x11D46 ||
           cp == 0x11F02;
}

bool continuesCharacter(char32_t previous, char32_t next) {
    return extendsPrevious(next) || extendsNext(previous) || buildsSyllable(previous, next);
}

}  // namespace kavrino::characters
