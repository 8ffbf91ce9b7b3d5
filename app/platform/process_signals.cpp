#include "app/platform/process_signals.h"

#include <csignal>  // std::signal, SIGXFSZ

namespace kavrino {

void ignoreFileSizeLimitSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace kavrino
