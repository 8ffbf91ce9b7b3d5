#include "core/chrono_import.h"

#include "core/character_joins.h"

#include <QChar>

#include <algorithm>
#include <cctype>  // std::isspace
#include <cmath>
#include <locale.h>  // newlocale (POSIX)
#include <new>       // std::bad_alloc
#include <stdlib.h>  // strtod_l (POSIX)

namespace kavrino {

namespace {

// Header search: only the first lines of a file may hold the column titles.
constexpr std::size_t headerSearchLines = 17;

// Lower-cased keywords of a velocity column title, tried in this order.
constexpr std::array<std::string_view, 6> velocityKeywords{"velocity", "speed", "fps", "muzzle velocity", "v0", "vel"};

// A plausible shot velocity, ft/s: strictly between these.
constexpr double slowestShot = 100;
constexpr double fastestShot = 6000;

// A plausible measured drag curve row.
constexpr double highestMach = 6.0;
constexpr double highestDragCoefficient = 1.5;

// The code point that starts at `text[i]` and its length in bytes; a malformed byte reads as
// U+FFFD of length 1, which never joins anything.
std::pair<char32_t, std::size_t> codePointAt(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) return {lead, 1};
    const std::size_t length = lead >= 0xF8 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || i + length > text.size()) return {0xFFFD, 1};
    char32_t cp = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return {0xFFFD, 1};
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    return {cp, length};
}

// The code point that ends just before `text[end]`, or U+FFFD at the start of the text.
char32_t codePointBefore(std::string_view text, std::size_t end) {
    if (end == 0) return 0xFFFD;
    std::size_t start = end - 1;
    while (start > 0 && end - start < 4 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) --start;
    const auto [cp, length] = codePointAt(text, start);
    return start + length == end ? cp : 0xFFFD;
}

// Whether the bytes text[begin, end) form whole characters on their own: nothing before them
// attaches forward and nothing after them attaches backward.
bool standsAlone(std::string_view text, std::size_t begin, std::size_t end) {
    if (end < text.size() && static_cast<unsigned char>(text[end]) >= 0x80 &&
        characters::extendsPrevious(codePointAt(text, end).first))
        return false;
    if (begin > 0 && static_cast<unsigned char>(text[begin - 1]) >= 0x80 && characters::extendsNext(codePointBefore(text, begin)))
        return false;
    return true;
}

// The length of the newline character at `text[i]`, or 0 when there is none.
std::size_t newlineLength(std::string_view text, std::size_t i) {
    const auto at = [&](std::size_t k) { return k < text.size() ? static_cast<unsigned char>(text[k]) : 0; };
    switch (at(i)) {
    case '\n':
    case '\v':
    case '\f':
        return 1;
    case '\r':
        return at(i + 1) == '\n' ? 2 : 1;
    case 0xC2:
        return at(i + 1) == 0x85 ? 2 : 0;  // NEL
    case 0xE2:
        return at(i + 1) == 0x80 && (at(i + 2) == 0xA8 || at(i + 2) == 0xA9) ? 3 : 0;  // LS, PS
    default:
        return 0;
    }
}

bool isStrippable(char c) { return c == ' ' || c == '"' || c == '\t'; }

// The cell without leading and trailing spaces, double quotes and tabs.
std::string_view stripped(std::string_view cell) {
    while (!cell.empty() && isStrippable(cell.front())) cell.remove_prefix(1);
    while (!cell.empty() && isStrippable(cell.back())) cell.remove_suffix(1);
    return cell;
}

// A chronograph cell as a number: stripped, then every comma deleted (the thousands
// separators of a quoted value such as "2,850").
std::optional<double> chronographNumber(std::string_view cell) {
    const std::string_view kept = stripped(cell);
    if (kept.find(',') == std::string_view::npos) return parseCSVNumber(kept);
    std::string digits;
    digits.reserve(kept.size());
    for (char c : kept)
        if (c != ',') digits += c;
    return parseCSVNumber(digits);
}

bool isPlausibleShot(double velocity) { return velocity > slowestShot && velocity < fastestShot; }

// ASCII lower-casing is exact here: no other character lower-cases to a letter or digit of the
// keywords except U+0130 (to "i" + U+0307), whose only keyword, "velocity", also contains "vel".
std::string lowerCased(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// Whether the lower-cased cell contains a velocity keyword as whole characters.
bool namesVelocity(std::string_view cell) {
    const std::string lower = lowerCased(cell);
    for (std::string_view keyword : velocityKeywords) {
        for (std::size_t at = lower.find(keyword); at != std::string::npos; at = lower.find(keyword, at + 1))
            if (standsAlone(lower, at, at + keyword.size())) return true;
    }
    return false;
}

// The lines of a text one at a time, as splitLines cuts them, without storing them.
class LineReader {
public:
    explicit LineReader(std::string_view text) : m_text(text) {}

    // The next non-empty line, or nothing at the end of the text.
    std::optional<std::string_view> next() {
        std::size_t start = m_position;
        for (std::size_t i = m_position; i < m_text.size();) {
            const std::size_t length = newlineLength(m_text, i);
            if (length == 0) {
                ++i;
                continue;
            }
            const std::size_t end = i;
            i += length;
            if (end > start) {
                m_position = i;
                return m_text.substr(start, end - start);
            }
            start = i;
        }
        m_position = m_text.size();
        if (start < m_text.size()) return m_text.substr(start);
        return std::nullopt;
    }

private:
    std::string_view m_text;
    std::size_t m_position = 0;
};

// The cells of one chronograph line one at a time, as views of the line: a raw cell runs from
// one separating comma to the next and still holds its quote characters. Deciding where cells
// begin and end needs no copy; only a cell that is read is turned into text.
class CellReader {
public:
    explicit CellReader(std::string_view line) : m_line(line) {}

    // The next raw cell, or nothing after the last one. There is always at least one.
    std::optional<std::string_view> next() {
        if (m_done) return std::nullopt;
        const std::size_t start = m_position;
        for (std::size_t i = m_position; i < m_line.size(); ++i) {
            const char c = m_line[i];
            if (c == '"' && standsAlone(m_line, i, i + 1)) {
                m_insideQuotes = !m_insideQuotes;
            } else if (c == ',' && !m_insideQuotes && standsAlone(m_line, i, i + 1)) {
                m_position = i + 1;
                return m_line.substr(start, i - start);
            }
        }
        m_done = true;
        return m_line.substr(start);
    }

    // Skips `count` cells; false when the line ends first.
    bool skip(std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            if (!next()) return false;
        return true;
    }

private:
    std::string_view m_line;
    std::size_t m_position = 0;
    bool m_insideQuotes = false;
    bool m_done = false;
};

// The text of a raw cell: its quote characters removed, unless one is part of a larger
// character. The neighbours of a raw cell's first and last byte are ASCII commas or the line's
// ends, so the raw cell alone decides which quotes stand alone. Returns `raw` itself when it
// holds no quote, else a view of `scratch`.
std::string_view cellText(std::string_view raw, std::string& scratch) {
    if (raw.find('"') == std::string_view::npos) return raw;
    scratch.clear();
    scratch.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i)
        if (!(raw[i] == '"' && standsAlone(raw, i, i + 1))) scratch += raw[i];
    return scratch;
}

struct Header {
    std::size_t line;    // index of the header line
    std::size_t column;  // index of the velocity cell in it
};

std::optional<Header> findHeader(std::string_view text) {
    LineReader lines(text);
    std::string scratch;
    for (std::size_t line = 0; line < headerSearchLines; ++line) {
        const std::optional<std::string_view> current = lines.next();
        if (!current) break;
        CellReader cells(*current);
        std::size_t column = 0;
        for (auto raw = cells.next(); raw; raw = cells.next(), ++column)
            if (namesVelocity(cellText(*raw, scratch))) return Header{line, column};
    }
    return std::nullopt;
}

std::optional<ChronoImport::Series> readChronograph(std::string_view text) {
    std::vector<double> velocities;
    std::string scratch;
    LineReader lines(text);
    if (const std::optional<Header> header = findHeader(text)) {
        for (std::size_t i = 0; i <= header->line; ++i) lines.next();
        while (const std::optional<std::string_view> line = lines.next()) {
            CellReader cells(*line);
            if (!cells.skip(header->column)) continue;
            const std::optional<std::string_view> raw = cells.next();
            if (!raw) continue;
            const std::optional<double> v = chronographNumber(cellText(*raw, scratch));
            if (v && isPlausibleShot(*v)) velocities.push_back(*v);
        }
    } else {
        while (const std::optional<std::string_view> line = lines.next()) {
            CellReader cells(*line);
            for (auto raw = cells.next(); raw; raw = cells.next()) {
                const std::optional<double> v = chronographNumber(cellText(*raw, scratch));
                if (v && isPlausibleShot(*v)) {
                    velocities.push_back(*v);
                    break;
                }
            }
        }
    }
    if (velocities.empty()) return std::nullopt;
    return ChronoImport::Series(std::move(velocities));
}

// The first two cells of a drag-curve line: split at every comma that stands alone, empty
// pieces dropped, each piece stripped. Nothing when the line has fewer than two pieces.
std::optional<std::pair<std::string_view, std::string_view>> firstTwoCells(std::string_view line) {
    std::array<std::string_view, 2> cells;
    std::size_t found = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i < line.size() && !(line[i] == ',' && standsAlone(line, i, i + 1))) continue;
        if (i > start) {
            cells[found++] = stripped(line.substr(start, i - start));
            if (found == 2) return std::pair{cells[0], cells[1]};
        }
        start = i + 1;
    }
    return std::nullopt;
}

std::optional<DragCurve> readDragCurve(std::string_view text) {
    DragCurve curve;
    LineReader lines(text);
    while (const std::optional<std::string_view> line = lines.next()) {
        const auto cells = firstTwoCells(*line);
        if (!cells) continue;
        const std::optional<double> mach = parseCSVNumber(cells->first);
        if (!mach) continue;
        const std::optional<double> cd = parseCSVNumber(cells->second);
        if (!cd) continue;
        if (*mach >= 0 && *mach <= highestMach && *cd > 0 && *cd <= highestDragCoefficient)
            curve.push_back({*mach, *cd});
    }
    if (curve.size() < 3) return std::nullopt;
    std::stable_sort(curve.begin(), curve.end(), [](const auto& a, const auto& b) { return a[0] < b[0]; });
    return curve;
}

// The POSIX locale, created once: numbers are read the same whatever the user's locale.
locale_t posixLocale() {
    static const locale_t posix = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return posix;
}

}  // namespace

namespace ChronoImport {

Series::Series(std::vector<double> velocities) : m_velocities(std::move(velocities)) {
    const std::size_t n = m_velocities.size();
    if (n == 0) return;
    double sum = 0;
    for (double v : m_velocities) sum += v;
    m_average = sum / static_cast<double>(n);
    if (n == 1) return;
    double squares = 0;
    for (double v : m_velocities) squares += (v - m_average) * (v - m_average);
    m_standardDeviation = std::sqrt(squares / static_cast<double>(n - 1));
    const auto [smallest, largest] = std::minmax_element(m_velocities.begin(), m_velocities.end());
    m_extremeSpread = *largest - *smallest;
}

}  // namespace ChronoImport

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    LineReader reader(text);
    while (const std::optional<std::string_view> line = reader.next()) lines.push_back(*line);
    return lines;
}

std::vector<std::string> splitCSVLine(std::string_view line) {
    std::vector<std::string> cells;
    std::string scratch;
    CellReader reader(line);
    while (const std::optional<std::string_view> raw = reader.next()) cells.emplace_back(cellText(*raw, scratch));
    return cells;
}

std::optional<double> parseCSVNumber(std::string_view cell) {
    // strtod would skip leading whitespace; a cell with any is no number.
    if (cell.empty() || std::isspace(static_cast<unsigned char>(cell.front())) != 0) return std::nullopt;
    const locale_t posix = posixLocale();
    if (posix == static_cast<locale_t>(nullptr)) return std::nullopt;
    const std::string terminated(cell);  // strtod needs a NUL; an embedded NUL stops it short
    char* end = nullptr;
    const double value = strtod_l(terminated.c_str(), &end, posix);
    if (end != terminated.c_str() + terminated.size()) return std::nullopt;
    return value;
}

std::optional<ChronoImport::Series> parseChronographCSV(std::string_view text) {
    if (text.size() > largestCSVFileBytes) return std::nullopt;
    try {
        return readChronograph(text);
    } catch (const std::bad_alloc&) {  // no memory for the shots: no result, as for any file that does not read
        return std::nullopt;
    }
}

std::optional<DragCurve> parseDragCurveCSV(std::string_view text) {
    if (text.size() > largestCSVFileBytes) return std::nullopt;
    try {
        return readDragCurve(text);
    } catch (const std::bad_alloc&) {  // no memory for the rows: no result
        return std::nullopt;
    }
}

}  // namespace kavrino
