#pragma once
// The platform services the shell hands to its panes: built once in main, faked in tests.
namespace kavrino {

class Dialogs;
class Environment;

struct Platform {
    Environment& environment;
    Dialogs& dialogs;
};

}  // namespace kavrino
