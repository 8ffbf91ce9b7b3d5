#pragma once
// The one way to read the application's bundled data files (bullets.json, app_loads.json, …).
// By default they come from the Qt resource system under ":/data"; a test hands in a folder of
// its own and the same code reads its fixtures from there.
#include <QByteArray>
#include <QString>

#include <optional>

namespace kavrino {

class ResourceLookup {
public:
    // The files compiled into the application (":/data/<fileName>").
    ResourceLookup();
    // The files of `folder` instead (a path on disk, or another resource prefix).
    explicit ResourceLookup(QString folder);

    // The whole content of the data file `fileName` (with its extension, e.g. "bullets.json"),
    // or nothing when the file does not exist or cannot be read.
    std::optional<QByteArray> read(const QString& fileName) const;
    // The same, but nothing either when the file holds more than `maxBytes` bytes: no more than
    // that is ever read, whatever the file claims its size to be.
    std::optional<QByteArray> read(const QString& fileName, qint64 maxBytes) const;

    const QString& folder() const { return m_folder; }

private:
    QString m_folder;
};

}  // namespace kavrino
