#pragma once
// Dialog 605 "CYCLED MOISTURE SAMPLER - 45": asks before the cycled moisture sampler (1:37
// bit 7) is enabled; switching it off needs no question.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kCycledSamplerDialogId = 605;

// Asks, and on YES sets bit 7 of 1:37 and sends it.
void OpenCycledSamplerDialog(plat::Hwnd parent);
// The question alone, changing nothing: true on YES. For the hardware setup dialog, which keeps
// 1:37 in its working copy and sends it with its other registers on ACCEPT.
bool ConfirmCycledSampler(plat::Hwnd parent);

}  // namespace dialogs
