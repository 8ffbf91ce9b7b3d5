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

}  // namespace kavrino
