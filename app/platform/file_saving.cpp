#include "app/platform/file_saving.h"

#include <QSaveFile>

namespace kavrino {

std::optional<SaveFailure> saveFileReplacing(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    file.setDirectWriteFallback(false);  // never write into the target itself
    if (!file.open(QIODevice::WriteOnly)) return SaveFailure{file.errorString()};
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return SaveFailure{reason};
    }
    if (!file.commit()) return SaveFailure{file.errorString()};
    return std::nullopt;
}

}  // namespace kavrino
