#pragma once
// VIEW_SELECTION_WINDOW: the pop-up of the VIEW button.
#include "screens/Screens.h"

namespace screens {

enum ViewSelectionControl : int {
  kViewChartButton = 36898,
  kViewGraphButton = 36897,
  kViewManualsButton = 36895,
  kViewHistoryButton = kCmdOpenHistory,        // passed on to the main window
  kViewSystemInfoButton = kCmdOpenSystemInfo,  // passed on to the main window
  kViewExitButton = 36896,
};

}  // namespace screens
