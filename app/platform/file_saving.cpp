#include "app/platform/file_saving.h"

#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>
#include <QSaveFile>

#include <cerrno>

namespace kavrino {
namespace {

// "kavrino.export": a document (DOPE card, comparison CSV) that could not be written.
Q_LOGGING_CATEGORY(lcExport, "kavrino.export", QtWarningMsg)

// Why a write stopped short, in words for the user, from the error the system gave (`error`, an
// errno value, 0 when none). A write cut short by the file system (the last bytes that fitted went
// out, the rest did not) leaves Qt without a reason of its own, so the system's error is asked
// first; without one, Qt's reason, and without that, what happened.
QString writeFailure(const QSaveFile& file, int error) {
    switch (error) {
    case EFBIG:
        return QCoreApplication::translate("FileSaving",
                                           "the file is larger than the system lets this program write");
    case ENOSPC:
        return QCoreApplication::translate("FileSaving", "the disk is full");
    case EDQUOT:
        return QCoreApplication::translate("FileSaving", "the disk quota is used up");
    default:
        break;
    }
    const QString reason = file.errorString();
    if (reason.isEmpty() || reason == QFile().errorString()) {
        return QCoreApplication::translate("FileSaving", "only part of it could be written; the disk may be full");
    }
    return reason;
}

// Runs `write` (a write or flush of `file` that tells whether it went through) and gives the
// reason when it did not. errno is read right after the write, so the error seen is the one the
// system gave the write that stopped.
template <typename Write>
std::optional<QString> failureOf(const QSaveFile& file, Write write) {
    errno = 0;
    if (write()) return std::nullopt;
    return writeFailure(file, errno);
}

std::optional<SaveFailure> writeReplacing(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    file.setDirectWriteFallback(false);  // never write into the target itself
    if (!file.open(QIODevice::WriteOnly)) return SaveFailure{file.errorString()};
    // commit() flushes what is still buffered but does not look at the outcome: a disk that
    // fills up there would leave a cut-off copy to be renamed over the target. Flush first.
    std::optional<QString> failure = failureOf(file, [&] { return file.write(bytes) == bytes.size(); });
    if (!failure) failure = failureOf(file, [&] { return file.flush(); });
    if (failure) {
        file.cancelWriting();
        return SaveFailure{*failure};
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
