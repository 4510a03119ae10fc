// The installed turn hook (see turn_hook.h).
#include "services/turn_hook.h"

namespace turn_hook_detail {
TurnHook installed = nullptr;
}

void set_turn_hook(TurnHook hook) { turn_hook_detail::installed = hook; }
