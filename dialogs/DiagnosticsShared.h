#pragma once
// What the diagnostics dialogs have in common: the period at which an open test dialog follows
// the status record.
#include <cstdint>

#include "dialogs/DialogText.h"
#include "platform/Window.h"

namespace dialogs {

// The open test dialogs refresh their marks from the status record every 175 ms: half a link
// cycle, so each frame the link stores is on screen before the next one arrives and a change
// is never more than one link cycle behind.
inline constexpr uint32_t kFollowStatusTimer = 1;
inline constexpr uint32_t kFollowStatusMs = 175;

}  // namespace dialogs
