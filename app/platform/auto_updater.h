#pragma once
// The software updater: created and started at launch, asked by the "Check for Updates…" menu
// command. This build has no update feed, so starting it does nothing and a check tells the
// user so; it never makes a network request.
#include <QObject>

namespace kavrino {

class Dialogs;

class AutoUpdater final : public QObject {
    Q_OBJECT
public:
    explicit AutoUpdater(Dialogs& dialogs, QObject* parent = nullptr);

    bool isStarted() const { return m_started; }
    bool hasUpdateFeed() const { return false; }

    // The menu command's action: reports in an alert that no update feed is set up.
    void checkForUpdates();

private:
    Dialogs& m_dialogs;
    bool m_started = false;
};

}  // namespace kavrino
