// The step loop's one call to its host per turn.
//
// A host that must get control back while a run goes on installs a turn hook: the web page
// gives the browser its turn about once per display frame, and a test driver counts the turns
// to hand in keys at chosen steps. The desktop installs none and pays one load and one branch a
// turn for the check.
#pragma once

using TurnHook = void (*)();

// Installs the hook (nullptr: none). The host does this before the program logic starts.
void set_turn_hook(TurnHook hook);

namespace turn_hook_detail {
extern TurnHook installed;
}

// Called by the step loop after every turn that made a step.
inline void end_of_turn() {
  if (turn_hook_detail::installed != nullptr) turn_hook_detail::installed();
}
