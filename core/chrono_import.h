#pragma once
// Tolerant readers of the comma-separated text the user opens in the import pane: chronograph
// exports (one shot per row, in whatever column layout the device writes) and measured drag
// curves (rows of Mach number and drag coefficient).
//
// Both readers are pure functions of UTF-8 text, already decoded from the file (a byte-order
// mark is the decoder's business, not theirs): no file access, no state, no messages. Each
// returns a result or nothing; rows that do not fit are skipped silently and only an empty
// outcome is a failure, which the caller words. They walk lines and cells as views of the
// text and keep only what they return, so their memory follows the size of the file and the
// number of rows kept, not the number of cells; a text longer than largestCSVFileBytes, or a
// result there is no memory for, gives nothing.
//
// Text is handled as user-perceived characters where the readers look for delimiters: a
// double quote, a comma or a keyword followed by a combining mark is part of a larger
// character and does not count as itself.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavrino {

// The largest text either reader accepts, in bytes: far beyond any chronograph export or
// measured drag curve, small enough that a file of it and its rows fit in memory at once.
inline constexpr std::size_t largestCSVFileBytes = std::size_t{64} << 20;  // 64 MB

namespace ChronoImport {

// Imported chronograph velocities with their statistics. Immutable; built only from the list
// of velocities, which computes the statistics.
class Series {
public:
    // `velocities` in ft/s, in file order; the readers only ever pass a non-empty list. An
    // empty list gives zero statistics rather than NaN.
    explicit Series(std::vector<double> velocities);

    const std::vector<double>& velocities() const { return m_velocities; }  // ft/s, file order
    double average() const { return m_average; }                      // arithmetic mean, ft/s
    double standardDeviation() const { return m_standardDeviation; }  // sample (n − 1), ft/s
    double extremeSpread() const { return m_extremeSpread; }          // largest − smallest, ft/s

    bool operator==(const Series&) const = default;

private:
    std::vector<double> m_velocities;
    double m_average = 0;
    double m_standardDeviation = 0;
    double m_extremeSpread = 0;
};

}  // namespace ChronoImport

// A measured drag curve: rows of {Mach number, drag coefficient}, Mach ascending. The shape of
// the solve's custom curve and of the request's "customCurve" key ([[mach, cd], …]).
using DragCurve = std::vector<std::array<double, 2>>;

// The lines of a text: cut at every newline character (LF, VT, FF, CR, NEL U+0085, LINE
// SEPARATOR U+2028, PARAGRAPH SEPARATOR U+2029; CR LF is one newline) with empty pieces
// dropped. Lines are not trimmed, so a line of spaces is kept. The views point into `text`.
std::vector<std::string_view> splitLines(std::string_view text);

// The cells of one chronograph line, each as its own string (the readers themselves look at
// one cell at a time and copy only the cells they read). A double quote flips an inside-quotes flag and is not
// copied; a comma outside quotes ends a cell; everything else, commas inside quotes included,
// is copied. The last cell is always appended, so an empty line gives one empty cell and a
// trailing comma an empty last cell. There is no escaped quote: "" flips the flag twice.
std::vector<std::string> splitCSVLine(std::string_view line);

// The cell as a number when its whole text is one floating-point number as strtod reads it in
// the POSIX locale (sign, digits with a full stop, exponent; hexadecimal, infinity and NaN
// forms too), whatever the process locale. Leading or trailing whitespace makes it no number.
std::optional<double> parseCSVNumber(std::string_view cell);

// The shot velocities of a chronograph export. The velocity column is the first cell of the
// first 17 lines whose lower-cased text contains "velocity", "speed", "fps", "muzzle velocity",
// "v0" or "vel"; every later line is a row, read at that column. Without such a header every
// line is a row and gives its first number strictly between 100 and 6000. Cells are stripped
// of spaces, quotes and tabs at both ends and of commas inside (thousands separators); a
// velocity counts when strictly between 100 and 6000 ft/s. Nothing when no velocity counts.
std::optional<ChronoImport::Series> parseChronographCSV(std::string_view text);

// The drag curve of a two-column file of Mach number and drag coefficient. Each line is split
// at every comma (quotes mean nothing here, empty pieces are dropped), the pieces stripped of
// spaces, quotes and tabs; the first two are read as Mach and Cd, the rest ignored. A row
// counts when both are numbers with 0 ≤ Mach ≤ 6 and 0 < Cd ≤ 1.5. Nothing with fewer than
// three such rows; otherwise the rows sorted by Mach, ties in file order.
std::optional<DragCurve> parseDragCurveCSV(std::string_view text);

}  // namespace kavrino
