// Arbitrary bytes as one of the three reload data files (chosen at build time): decoding must
// never crash, leak, hang or use memory out of proportion to the file.
#include "reload/reload_bundles.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
#if defined(KAVRINO_FUZZ_CASES)
    (void)kavrino::decodeCaseBundle(bytes);
#elif defined(KAVRINO_FUZZ_POWDERS)
    (void)kavrino::decodePowderBundle(bytes);
#else
    (void)kavrino::decodeLoadBundle(bytes);
#endif
    return 0;
}
