#include "app/shell/window_size.h"

#include <QTextBoundaryFinder>
#include <QWidget>  // QWIDGETSIZE_MAX

#include <algorithm>  // std::clamp
#include <charconv>   // std::from_chars
#include <clocale>    // newlocale, locale_t
#include <cmath>      // std::isfinite, std::lround
#include <cstdlib>    // strtod_l
#include <limits>
#include <vector>

namespace kavrino {
namespace {

std::optional<double> wholeNumber(const QString& piece) {
    std::string text = piece.toStdString();
    // The standard conversion accepts one leading plus sign; from_chars does not.
    if (text.size() > 1 && text[0] == '+' && text[1] != '+' && text[1] != '-') text.erase(0, 1);
    double number = 0;
    const char* end = text.data() + text.size();
    // A signalling NaN is a number to the standard conversion too.
    if (text == "snan" || text == "-snan") return std::numeric_limits<double>::quiet_NaN();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (stop != end) return std::nullopt;
    if (error == std::errc::result_out_of_range) {
        // Still a number: the standard conversion rounds it to infinity or zero. strtod_l in
        // the C locale does the same whatever locale Qt has set.
        static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        return ::strtod_l(text.c_str(), nullptr, cLocale);
    }
    if (error != std::errc()) return std::nullopt;
    return number;
}

// `text` split at every "x" that stands as a character of its own, empty pieces dropped. An
// "x" carrying a combining mark is another character, as the platform's text splitting sees
// it, and stays inside its piece.
QStringList piecesBetweenXs(const QString& text) {
    QStringList pieces;
    QString piece;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    for (qsizetype end = characters.toNextBoundary(); end != -1; end = characters.toNextBoundary()) {
        const QStringView character = QStringView(text).mid(start, end - start);
        if (character == u"x") {
            if (!piece.isEmpty()) pieces << piece;
            piece.clear();
        } else {
            piece += character;
        }
        start = end;
    }
    if (!piece.isEmpty()) pieces << piece;
    return pieces;
}

}  // namespace

std::optional<QSizeF> parseWindowSize(const QString& value) {
    std::vector<double> numbers;
    for (const QString& piece : piecesBetweenXs(value.toLower())) {
        if (auto number = wholeNumber(piece)) numbers.push_back(*number);
    }
    if (numbers.size() != 2) return std::nullopt;
    return QSizeF(numbers[0], numbers[1]);
}

std::optional<QRect> scriptedWindowFrame(const QSizeF& size) {
    if (!std::isfinite(size.width()) || !std::isfinite(size.height())) return std::nullopt;
    auto pixels = [](double points) {
        return int(std::lround(std::clamp(points, 0.0, double(QWIDGETSIZE_MAX))));
    };
    return QRect(40, 60, pixels(size.width()), pixels(size.height()));
}

}  // namespace kavrino
