#pragma once
// Where the program keeps caches for the user: things it can fetch again (map tiles), kept so
// that it need not. Tests hand their own folders to the code that caches instead.
#include <QString>

namespace kavrino {

// The user's cache folder for `name` (e.g. ~/.cache/Kavrino Pro/tiles); the folder may not
// exist yet. Empty when the system offers no cache location.
QString userCacheFolder(const QString& name);

}  // namespace kavrino
