#include "app/window_size.h"

#include <QWidget>  // QWIDGETSIZE_MAX

#include <algorithm>  // std::clamp
#include <charconv>   // std::from_chars
#include <cmath>      // std::isfinite, std::lround
#include <vector>

namespace kavrino {
namespace {

std::optional<double> wholeNumber(const QString& piece) {
    std::string text = piece.toStdString();
    // The standard conversion accepts one leading plus sign; from_chars does not.
    if (text.size() > 1 && text[0] == '+' && text[1] != '+' && text[1] != '-') text.erase(0, 1);
    double number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (error != std::errc() || stop != end) return std::nullopt;
    return number;
}

}  // namespace

std::optional<QSizeF> parseWindowSize(const QString& value) {
    std::vector<double> numbers;
    const QStringList pieces = value.toLower().split(QLatin1Char('x'), Qt::SkipEmptyParts);
    for (const QString& piece : pieces) {
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
