#pragma once
// Reading a text file the user chose: the whole file as UTF-8, or why not.
#include <QString>

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace kavrino {

enum class TextFileFailure {
    cannotRead,  // missing, a folder, no permission, a read error, or no memory for it
    tooLarge,    // more bytes than the caller accepts
    notUtf8,     // a byte sequence that is not UTF-8 (overlong, surrogate, cut off, ...)
};

// The file at `path` as UTF-8 text with a leading byte-order mark removed. Strict: one
// malformed sequence anywhere fails the whole file rather than turning into U+FFFD. A file of
// more than `largestBytes` bytes fails as too large without being read to its end (devices and
// pipes, whose size is not known beforehand, included).
std::variant<std::string, TextFileFailure> readUtf8TextFile(const QString& path, std::size_t largestBytes);

// Whether `bytes` are well-formed UTF-8 as Qt's strict decoder reads them.
bool isWellFormedUtf8(std::string_view bytes);

}  // namespace kavrino
