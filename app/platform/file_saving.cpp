#include "app/platform/file_saving.h"

#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>
#include <QSaveFile>

namespace kavrino {
namespace {

// "kavrino.export": a document (DOPE card, comparison CSV) that could not be written.
Q_LOGGING_CATEGORY(lcExport, "kavrino.export", QtWarningMsg)

// A write cut short by the file system (the last bytes that fitted went out, the rest did not)
// leaves Qt without a reason of its own: say what happened.
QString writeFailure(const QSaveFile& file) {
    const QString reason = file.errorString();
    if (reason.isEmpty() || reason == QFile().errorString()) {
        return QCoreApplication::translate("FileSaving", "only part of it could be written; the disk may be full");
    }
    return reason;
}

std::optional<SaveFailure> writeReplacing(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    file.setDirectWriteFallback(false);  // never write into the target itself
    if (!file.open(QIODevice::WriteOnly)) return SaveFailure{file.errorString()};
    if (file.write(bytes) != bytes.size()) {
        const QString reason = writeFailure(file);
        file.cancelWriting();
        return SaveFailure{reason};
    }
    // commit() flushes what is still buffered but does not look at the outcome: a disk that
    // fills up there would leave a cut-off copy to be renamed over the target. Flush first.
    if (!file.flush()) {
        const QString reason = writeFailure(file);
        file.cancelWriting();
        return SaveFailure{reason};
    }
    if (!file.commit()) return SaveFailure{file.errorString()};
    return std::nullopt;
}

}  // namespace

std::optional<SaveFailure> saveFileReplacing(const QString& path, const QByteArray& bytes) {
    std::optional<SaveFailure> failure = writeReplacing(path, bytes);
    if (failure) qCWarning(lcExport) << path << "could not be written:" << failure->reason;
    return failure;
}

}  // namespace kavrino
