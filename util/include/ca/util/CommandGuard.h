#pragma once
// The one guard around every command handler: an error that the command does not handle ends the
// command, is shown in the application's default error box with its text, and the program runs on.
#include <functional>

#include "ca/util/Prompts.h"

namespace ca {

class CommandGuard {
public:
    // Runs the command. Returns false when it ended with an error (already shown).
    static bool run(Prompts& prompts, const std::function<void()>& command);
};

}  // namespace ca
