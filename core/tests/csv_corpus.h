#pragma once
// A deterministic corpus of CSV-like files for checking the chronograph and drag-curve readers
// against a recorded run: device exports with preambles, headers anywhere in the first twenty
// lines, summary blocks, quoted thousands, every newline character, byte-order marks, numbers
// spelt every way strtod reads (and some it does not), combining marks next to delimiters,
// malformed UTF-8, drag curves with repeats, and token soup made of all of these.
//
// The generator uses its own integer generator (no std distribution, whose output differs
// between standard libraries), so a case number names the same bytes everywhere.
#include "core/chrono_import.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

namespace kavrino::csv_corpus {

class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next() {  // splitmix64
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
    bool chance(int percent) { return below(100) < static_cast<std::size_t>(percent); }
    template <std::size_t N>
    std::string_view pick(const std::array<std::string_view, N>& items) { return items[below(N)]; }

private:
    std::uint64_t m_state;
};

inline constexpr std::array<std::string_view, 12> kNewlines{
    "\n", "\n", "\n", "\r\n", "\r\n", "\r", "\v", "\f", "\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9", "\n\r"};

// Characters that join a neighbour, stand alone next to one, or break the encoding.
inline constexpr std::array<std::string_view, 20> kOddCharacters{
    "\xCC\x81",          // combining acute
    "\xE0\xB8\xB3",      // Thai AM
    "\xE0\xBA\xB3",      // Lao AM
    "\xEF\xBE\x9E",      // halfwidth voiced sound mark
    "\xE1\x80\xAC",      // Myanmar vowel sign AA (stands alone)
    "\xE1\xA9\xA1",      // Tai Tham sign (stands alone)
    "\xE2\x80\x8D",      // zero width joiner
    "\xF0\x9F\x8F\xBB",  // emoji modifier
    "\xD8\x80",          // Arabic number sign (attaches forward)
    "\xF3\xA0\x80\xA0",  // tag space
    "\xC2\xB0",          // degree sign
    "\xC4\xB0",          // capital I with dot above
    "\xEF\xBB\xBF",      // byte-order mark in the middle
    "\xE6\xB5\x8B",      // CJK
    "\xF0\x9F\x98\x80",  // emoji
    "\xFF",              // never valid
    "\xC3",              // truncated sequence
    "\x80",              // stray continuation
    "\xED\xA0\x80",      // encoded surrogate
    std::string_view("\0", 1),
};

inline constexpr std::array<std::string_view, 26> kHeaders{
    "Shot,Velocity (fps),Energy",
    "#,SPEED (FPS),KE (FT-LB),POWER FACTOR,TIME",
    "Shot ID,V1 fps,V2,Ke1,PF",
    "n,V0",
    "Level,x",
    "shot;velocity;energy",
    "Shot\tVel\tKE",
    "\"Shot\",\"Velocity\"",
    "Shot,\"Ve\"loc\"ity\"",
    "Shot,Muzzle Velocity",
    "vel\xCC\x81,2800",
    "\xC2\xB0SPEED\xC2\xB0,n",
    "Units velocity,fps",
    "mach,cd",
    "Mach Number,Drag Coefficient",
    "x,SPEED,\"a,b\",fps",
    "Shot,\xC4\xB0velocity",
    "shot,\"spe,ed\"",
    "Shot, Velocity ,Energy",
    "Shot,vel\xE0\xB8\xB3,x",
    "Shot,fps\xF0\x9F\x8F\xBB",
    ",,,Speed",
    "\xEF\xBB\xBFVelocity",
    "Shot,v0\xE2\x80\x8D",
    "Shot,sp\"\"eed",
    "Temperature,Pressure",
};

inline constexpr std::array<std::string_view, 18> kPreamble{
    "XERO C1 Pro export",
    "Session,6.5 Creedmoor 140gr ELD-M",
    "Date,\"Dec 2, 2026\"",
    "Projectile weight (gr),140",
    "Shots,5",
    "Notes,cold bore first",
    "sep=,",
    "Device ID,LBR-0012345",
    "Stats - Average,2853.25",
    "Stats - Std. Dev,6.6",
    "Firmware,1.3.8",
    "Time,14:02:11",
    "  ",
    "\t",
    "Temperature,59,\xC2\xB0" "F",
    "Average,\"2,805.3\"",
    "Distance,100,yd",
    "\"unclosed,quote",
};

inline constexpr std::array<std::string_view, 14> kSummary{
    "AVERAGE SPEED,\"2,709.7\"", "STD DEV,6.7", "SPREAD,17.7", "Avg,2805", "SD,7.1", "ES,17",
    "Max,2812", "Min,2795", "-,Average,2805.5", "Average,,2801", "\"Avg\",\"2,800\"", ",", "Total,5",
    "Stats,,,,"};

inline constexpr std::array<std::string_view, 22> kSeparators{
    ",", ",", ",", ",", ", ", " ,", ",,", ";", "\t", " ", ",\xCC\x81", "\",\"", ", \t", "\t,", ",\"\",",
    "\xD8\x80,", ",\xE1\x80\xAC", ",\xE0\xB8\xB3", "\"", "\"\"", ",\"", "\","};

// One number-like cell: plain, signed, exponent, hexadecimal, infinity and NaN forms, spaces,
// quotes, thousands separators, decimal commas, units, bounds, overflow, or no number at all.
inline std::string numberCell(Random& random, double low, double high) {
    const double unit = static_cast<double>(random.next() >> 11) * 0x1p-53;
    const double value = low + unit * (high - low);
    const long long whole = static_cast<long long>(value);
    const int tenths = static_cast<int>(random.below(10));
    const std::string digits = std::to_string(whole);
    switch (random.below(34)) {
    case 0: case 1: case 2: case 3: case 4: return digits;
    case 5: case 6: case 7: case 8: return digits + "." + std::to_string(tenths);
    case 9: {
        std::array<char, 64> buffer{};
        const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
        return std::string(buffer.data(), end);
    }
    case 10: return "+" + digits;
    case 11: return "-" + digits;
    case 12: return digits.substr(0, 1) + "." + digits.substr(1) + "e" + std::to_string(digits.size() - 1);
    case 13: return "0x1.6p11";
    case 14: return random.chance(50) ? "inf" : "-Infinity";
    case 15: return random.chance(50) ? "NaN" : "nan(0x1)";
    case 16: return " " + digits;
    case 17: return digits + " ";
    case 18: return "\t" + digits + "\t";
    case 19: return "\"" + digits + "\"";
    case 20: return digits.size() > 3 ? "\"" + digits.substr(0, digits.size() - 3) + "," + digits.substr(digits.size() - 3) + "\"" : digits;
    case 21: return digits.size() > 3 ? digits.substr(0, digits.size() - 3) + "," + digits.substr(digits.size() - 3) : digits;
    case 22: return digits + "," + std::to_string(tenths);
    case 23: return digits + "fps";
    case 24: return random.chance(50) ? "100" : "6000";
    case 25: return random.chance(50) ? "100.5" : "5999.9";
    case 26: return "1e400";
    case 27: return "1e-400";
    case 28: return "000000000000000000000000" + digits + ".000000000000000000000001";
    case 29: return "";
    case 30: return "." + std::to_string(tenths);
    case 31: return digits + ".";
    case 32: return "\" " + digits + " \"";
    default: return random.chance(50) ? "0.5" : "1.5";
    }
}

inline std::string oddText(Random& random) {
    std::string text;
    const std::size_t parts = 1 + random.below(3);
    for (std::size_t i = 0; i < parts; ++i) {
        text += random.pick(kOddCharacters);
        if (random.chance(50)) text += "x";
    }
    return text;
}

inline void appendNewline(Random& random, std::string_view usual, std::string& text) {
    text += random.chance(85) ? usual : random.pick(kNewlines);
    if (random.chance(5)) text += usual;  // a blank line
}

// A chronograph export: preamble, an optional header, shots, an optional summary block.
inline std::string chronographFile(Random& random) {
    std::string text;
    const std::string_view newline = random.pick(kNewlines);
    const std::size_t preamble = random.below(21);
    for (std::size_t i = 0; i < preamble; ++i) {
        text += random.pick(kPreamble);
        appendNewline(random, newline, text);
    }
    if (random.chance(75)) {
        text += random.pick(kHeaders);
        if (random.chance(10)) text += oddText(random);
        appendNewline(random, newline, text);
    }
    const std::size_t shots = random.below(15);
    const std::size_t columns = 1 + random.below(5);
    const std::size_t speedColumn = random.below(columns);
    for (std::size_t shot = 0; shot < shots; ++shot) {
        const std::string_view separator = random.chance(90) ? std::string_view(",") : random.pick(kSeparators);
        for (std::size_t column = 0; column < columns; ++column) {
            if (column > 0) text += random.chance(92) ? separator : random.pick(kSeparators);
            if (column == speedColumn) {
                text += numberCell(random, 2600, 3000);
            } else if (column == 0) {
                text += random.chance(80) ? std::to_string(shot + 1) : numberCell(random, 0, 200);
            } else {
                text += numberCell(random, 0, 7000);
            }
            if (random.chance(3)) text += oddText(random);
        }
        appendNewline(random, newline, text);
    }
    if (random.chance(40)) {
        const std::size_t lines = 1 + random.below(4);
        for (std::size_t i = 0; i < lines; ++i) {
            text += random.pick(kSummary);
            appendNewline(random, newline, text);
        }
    }
    if (random.chance(30) && text.size() >= 3) text.resize(text.size() - random.below(3));  // a cut-off last line
    return text;
}

// A drag curve: an optional header, rows of Mach and Cd in any order, repeats, out-of-range rows.
inline std::string dragCurveFile(Random& random) {
    std::string text;
    const std::string_view newline = random.pick(kNewlines);
    if (random.chance(60)) {
        text += random.chance(50) ? "mach,cd" : random.pick(kHeaders);
        appendNewline(random, newline, text);
    }
    const std::size_t rows = random.below(12);
    const bool tidy = random.chance(50);  // plain decimals, as most curve files hold
    for (std::size_t i = 0; i < rows; ++i) {
        if (random.chance(8)) {
            text += random.pick(kSummary);
        } else if (tidy) {
            // Drawn in this order (last figure first) on purpose: the recorded corpus depends on it.
            const auto hundredths = random.below(100);
            const bool belowOne = random.chance(90);
            const auto tenths = random.below(10);
            const auto mach = random.below(61) / 10;
            text += std::to_string(mach) + "." + std::to_string(tenths) + "," + (belowOne ? "0." : "1.") +
                    std::to_string(hundredths);
        } else {
            if (random.chance(10)) text += ",";
            text += numberCell(random, 0, 6.5);
            text += random.chance(85) ? std::string_view(",") : random.pick(kSeparators);
            text += numberCell(random, 0, 1.7);
            if (random.chance(15)) text += "," + numberCell(random, 0, 9);
            if (random.chance(5)) text += ",";
            if (random.chance(3)) text += oddText(random);
        }
        appendNewline(random, newline, text);
    }
    return text;
}

// Token soup: delimiters, numbers, keywords and odd characters in any order.
inline std::string tokenSoup(Random& random) {
    static constexpr std::array<std::string_view, 24> kTokens{
        ",", ",", "\"", "\n", "\r\n", "\r", " ", "\t", ";", "velocity", "Speed", "FPS", "v0", "VEL", "mach",
        "cd", "0.5", ".", "e", "-", "+", "x", "2850", "0x"};
    std::string text;
    const std::size_t tokens = random.below(80);
    for (std::size_t i = 0; i < tokens; ++i) {
        switch (random.below(10)) {
        case 0: text += numberCell(random, 0, 7000); break;
        case 1: text += oddText(random); break;
        case 2: text += random.pick(kNewlines); break;
        default: text += random.pick(kTokens); break;
        }
    }
    return text;
}

// The file of case `number`.
inline std::string generateCase(std::uint64_t number) {
    Random random(number * 0x2545F4914F6CDD1Dull + 1);
    std::string text;
    if (random.chance(15)) text += "\xEF\xBB\xBF";  // the readers see a byte-order mark only when a caller leaves it
    switch (random.below(10)) {
    case 0: case 1: case 2: case 3: case 4: text += chronographFile(random); break;
    case 5: case 6: case 7: text += dragCurveFile(random); break;
    default: text += tokenSoup(random); break;
    }
    return text;
}

// ---- what the readers make of a file, as text ----

inline void appendNumber(double value, std::string& out) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::hex);
    out.append(buffer.data(), result.ptr);
}

inline void appendEscaped(std::string_view bytes, std::string& out) {
    static constexpr char kHex[] = "0123456789abcdef";
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\' && byte != '|') {
            out += c;
        } else {
            out += '\\';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        }
    }
}

// The lines, the cells of each line, the chronograph series with its statistics and the drag
// curve, every number in hexadecimal so that equal texts mean equal bits.
inline std::string describeReaders(std::string_view text) {
    std::string out;
    for (std::string_view line : splitLines(text)) {
        out += "L ";
        for (const std::string& cell : splitCSVLine(line)) {
            appendEscaped(cell, out);
            out += '|';
        }
        out += '\n';
    }
    if (const auto series = parseChronographCSV(text)) {
        out += "S";
        for (double v : series->velocities()) {
            out += ' ';
            appendNumber(v, out);
        }
        out += " / ";
        appendNumber(series->average(), out);
        out += ' ';
        appendNumber(series->standardDeviation(), out);
        out += ' ';
        appendNumber(series->extremeSpread(), out);
        out += '\n';
    } else {
        out += "S none\n";
    }
    if (const auto curve = parseDragCurveCSV(text)) {
        out += "C";
        for (const auto& row : *curve) {
            out += ' ';
            appendNumber(row[0], out);
            out += ':';
            appendNumber(row[1], out);
        }
        out += '\n';
    } else {
        out += "C none\n";
    }
    return out;
}

// FNV-1a, 64 bits: a short fingerprint of a description.
inline std::uint64_t fingerprint(std::string_view text) {
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001B3ull;
    }
    return hash;
}

}  // namespace kavrino::csv_corpus
