#pragma once
// Decoding of the three reload data files ("app_loads", "app_cases", "app_powders").
//
// Rules, as for every file the application reads: keys match exactly, unknown keys are ignored,
// an optional key may be absent or null, and a required key that is absent, null or of the wrong
// type fails the whole file (so one bad record fails its file). Whole numbers must be integral,
// and a text longer than 4,096 UTF-8 bytes breaks its record. Only the keys the records use are
// kept while a file is read, and each record is decoded as soon as it is read, so memory follows
// the records rather than the size of the text.
// A powder's "params" are looser: only "Kv" is required; the other keys fall back to their
// defaults when absent, null or of the wrong type.
#include "reload/reload_records.h"

#include <QByteArray>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace kavrino {

struct LoadBundle {
    std::optional<QString> version;
    QStringList sources;
    std::int64_t loadCount = 0;  // read, not used
    std::vector<Load> loads;
};

struct CaseBundle {
    std::optional<QString> version;
    std::int64_t count = 0;  // read, not used
    std::vector<CaseInfo> cases;
};

struct PowderBundle {
    std::optional<QString> version;
    std::int64_t count = 0;  // read, not used
    std::vector<Powder> powders;
};

// Each returns no value when the text is not JSON or breaks a rule above.
std::optional<LoadBundle> decodeLoadBundle(const QByteArray& json);
std::optional<CaseBundle> decodeCaseBundle(const QByteArray& json);
std::optional<PowderBundle> decodePowderBundle(const QByteArray& json);

}  // namespace kavrino
