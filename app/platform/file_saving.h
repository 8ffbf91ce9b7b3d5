#pragma once
// Writing a document where the user chose to save it.
#include <QByteArray>
#include <QString>

#include <optional>

namespace kavrino {

// Why a document was not saved, in words for the user.
struct SaveFailure {
    QString reason;

    bool operator==(const SaveFailure&) const = default;
};

// Writes `bytes` to `path` through a temporary file in the same folder, which replaces the
// target only once every byte is on disk: a file already at `path` is either replaced whole or
// left as it was, never half-written. Nothing on success.
std::optional<SaveFailure> saveFileReplacing(const QString& path, const QByteArray& bytes);

}  // namespace kavrino
