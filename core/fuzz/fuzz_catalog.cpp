// Arbitrary bytes as a "bullets" or a "cartridges" file: decoding must never crash, leak or
// hang, and a file it accepts must encode back to records it accepts again.
#include "core/catalog.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
#if defined(KAVRINO_FUZZ_CARTRIDGES)
    const auto records = kavrino::decodeCartridgesFile(bytes);
    const auto decodeAgain = [](const QByteArray& file) { return kavrino::decodeCartridgesFile(file); };
    const char* key = "cartridges";
#else
    const auto records = kavrino::decodeBulletsFile(bytes);
    const auto decodeAgain = [](const QByteArray& file) { return kavrino::decodeBulletsFile(file); };
    const char* key = "bullets";
#endif
    if (!records) return 0;
    std::string file = std::string("{\"") + key + "\":[";
    for (size_t i = 0; i < records->size(); ++i) {
        if (i > 0) file += ',';
        file += kavrino::encodeJson((*records)[i]);
    }
    file += "]}";
    const auto again = decodeAgain(QByteArray::fromStdString(file));
    if (!again || *again != *records) std::abort();
    return 0;
}
