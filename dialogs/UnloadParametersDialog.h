#pragma once
// Dialog 513, the unload parameters: the maximum and minimum unload rates in percent of the full
// metering roll speed, with the bushels per hour each gives. Opened from the setup screens.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kUnloadParametersDialogId = 513;

enum UnloadParametersControl : int {
  kUnloadMaxUp = 1300,
  kUnloadMaxDown = 1301,
  kUnloadMinUp = 1045,
  kUnloadMinDown = 1046,
  kUnloadMaxBushels = 1146,
  kUnloadMaxPercent = 1147,
  kUnloadMinBushels = 1148,
  kUnloadMinPercent = 1149,
  kUnloadBasedUpon = 1150,
  kUnloadAccept = 1008,
  kUnloadCancel = 1010,
  kUnloadHelp = 1011,
};

// Runs the dialog modally over `parent`; returns the id that closed it (kUnloadAccept when the
// rates were written, anything else when nothing changed).
int RunUnloadRatesDialog(plat::Hwnd parent);
// The setup screen's door.
void OpenUnloadRatesDialog(plat::Hwnd parent);

}  // namespace dialogs
