// Entry pair of the engine library (placeholder until the solver lands).
#include "kavrino_engine.h"

#include <cstdlib>

extern "C" char* kavrino_solve_json(const char*) { return nullptr; }
extern "C" void kavrino_free(char* reply) { std::free(reply); }
