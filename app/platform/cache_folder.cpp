#include "app/platform/cache_folder.h"

#include <QDir>
#include <QStandardPaths>

namespace kavrino {

QString userCacheFolder(const QString& name) {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (base.isEmpty()) return {};
    return QDir(base).filePath(name);
}

}  // namespace kavrino
