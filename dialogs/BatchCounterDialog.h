#pragma once
// Dialog 599 "CLEAR BATCH COUNTER - 44": shows the batches the controller has counted and, on
// YES, sets its batch counter (0:221..0:222) back to 0.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kBatchCounterDialogId = 599;

void OpenBatchCounterDialog(plat::Hwnd parent);

}  // namespace dialogs
