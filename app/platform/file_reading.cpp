#include "app/platform/file_reading.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <vector>
#include <new>  // std::bad_alloc

namespace kavrino {
namespace {

constexpr qint64 kReadChunkBytes = qint64{1} << 20;
constexpr std::size_t kDecodeChunkBytes = std::size_t{1} << 16;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

bool isWellFormedUtf8(std::string_view bytes) {
    // Decoded in pieces into one small buffer, so a large file needs no UTF-16 copy. Each piece
    // is decoded on its own (a stateful decoder would keep a sequence cut off at the very end
    // as pending, not as an error), so pieces end before a byte that starts a character: a
    // well-formed sequence is never split, and no sequence has more than three continuation
    // bytes to step back over.
    std::vector<QChar> decoded(kDecodeChunkBytes);  // UTF-16 never needs more units than UTF-8 has bytes
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = std::min(bytes.size(), start + kDecodeChunkBytes);
        for (int back = 0; back < 3 && end < bytes.size() && isContinuationByte(bytes[end]); ++back) --end;
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        decoder.appendToBuffer(decoded.data(), QByteArrayView(bytes.data() + start, qsizetype(end - start)));
        if (decoder.hasError()) return false;
        start = end;
    }
    return true;
}

std::variant<std::string, TextFileFailure> readUtf8TextFile(const QString& path, std::size_t largestBytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return TextFileFailure::cannotRead;
    const bool sizeKnown = !file.isSequential();
    if (sizeKnown && file.size() > 0 && static_cast<std::size_t>(file.size()) > largestBytes) {
        return TextFileFailure::tooLarge;
    }
    std::string text;
    try {
        if (sizeKnown) text.reserve(static_cast<std::size_t>(file.size()));
        std::string chunk(static_cast<std::size_t>(kReadChunkBytes), '\0');
        for (;;) {
            const qint64 read = file.read(chunk.data(), kReadChunkBytes);
            if (read < 0) return TextFileFailure::cannotRead;
            if (read == 0) break;
            if (text.size() + static_cast<std::size_t>(read) > largestBytes) return TextFileFailure::tooLarge;
            text.append(chunk.data(), static_cast<std::size_t>(read));
        }
    } catch (const std::bad_alloc&) {
        return TextFileFailure::cannotRead;
    }
    if (!isWellFormedUtf8(text)) return TextFileFailure::notUtf8;
    if (text.starts_with(kByteOrderMark)) text.erase(0, kByteOrderMark.size());
    return text;
}

}  // namespace kavrino
