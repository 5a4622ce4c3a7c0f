#pragma once
// Dialog 440 " SYSTEM INFORMATION / SOFTWARE VERSION - 32": the software version, the panel's
// date and time (repainted by the one-second tick) and the memory figures.
#include <cstddef>
#include <cstdint>

#include "platform/Window.h"

namespace dialogs {

inline constexpr int kSystemInfoDialogId = 440;
inline constexpr int kSoftwareVersionMajor = 2;
inline constexpr int kSoftwareVersionMinor = 4;

enum SystemInfoControl : int {
  kInfoExit = 1244,
  kInfoVersion = 1245,
  kInfoDate = 1246,
  kInfoTime = 1247,
  kInfoTotalMemory = 1248,
  kInfoFreeMemory = 1249,
  kInfoName = 1250,
};

int OpenSystemInfoDialog(plat::Hwnd parent);
// The one-second tick: refreshes the dialog when it is open, so its clock advances.
void RefreshSystemInfoDialog();

// "<version label>: 2.04".
size_t FormatVersionLine(char16_t* out, size_t units);

}  // namespace dialogs
