#pragma once
// Reload data files for tests: a temporary copy of a fixture folder with one file replaced.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace kavrino::test_support {

// The three files of `fixtures` copied into a temporary folder, with `name` replaced by
// `content` (empty content: the file is left out).
struct AlteredFixtures {
    QTemporaryDir dir;
    AlteredFixtures(const QString& fixtures, const QString& name, const QByteArray& content) {
        for (const char* file : {"app_loads.json", "app_cases.json", "app_powders.json"})
            QFile::copy(fixtures + "/" + file, dir.filePath(file));
        QFile::remove(dir.filePath(name));
        if (!content.isEmpty()) {
            QFile out(dir.filePath(name));
            out.open(QIODevice::WriteOnly);
            out.write(content);
        }
    }
};

}  // namespace kavrino::test_support
