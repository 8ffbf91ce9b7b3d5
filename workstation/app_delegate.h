#pragma once
// Runs once launching has finished: the install check, whose result is not needed.
namespace kavrino {

class AppHost;
class Dialogs;
class Environment;

class AppDelegate {
public:
    AppDelegate(Dialogs& dialogs, AppHost& host, const Environment& environment);
    void applicationDidFinishLaunching();

private:
    Dialogs& m_dialogs;
    AppHost& m_host;
    const Environment& m_environment;
};

}  // namespace kavrino
