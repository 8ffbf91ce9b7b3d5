#include "core/resource_lookup.h"

#include <QFile>

#include <utility>

namespace kavrino {

namespace {
// Only plain file names: a name never reaches outside its folder.
bool isPlainFileName(const QString& name) {
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\') && name != u".." &&
           name != u".";
}
}  // namespace

// Where qt_add_resources puts the data files (resources/CMakeLists.txt, PREFIX "/data"). Built
// here rather than held in a global, so a lookup made during static initialisation is sound.
ResourceLookup::ResourceLookup() : m_folder(QStringLiteral(":/data")) {}

ResourceLookup::ResourceLookup(QString folder) : m_folder(std::move(folder)) {}

std::optional<QByteArray> ResourceLookup::read(const QString& fileName) const {
    if (!isPlainFileName(fileName)) return std::nullopt;
    QFile file(m_folder + u'/' + fileName);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes;
}

std::optional<QByteArray> ResourceLookup::read(const QString& fileName, qint64 maxBytes) const {
    if (!isPlainFileName(fileName) || maxBytes < 0) return std::nullopt;
    QFile file(m_folder + u'/' + fileName);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    if (file.size() > maxBytes) return std::nullopt;
    // The reported size is only a hint (a pipe or a special file reports none, a file may grow):
    // reading goes on in chunks and stops as soon as it passes the bound.
    constexpr qint64 kChunk = 1 << 20;
    QByteArray bytes;
    bytes.reserve(qsizetype(file.size()));
    while (true) {
        const QByteArray chunk = file.read(qMin(kChunk, maxBytes + 1 - bytes.size()));
        if (file.error() != QFileDevice::NoError) return std::nullopt;
        if (chunk.isEmpty()) break;
        bytes += chunk;
        if (bytes.size() > maxBytes) return std::nullopt;
    }
    return bytes;
}

}  // namespace kavrino
