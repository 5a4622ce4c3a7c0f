#pragma once
// Dialog 258 "DAY DATA LOGGER SETUP - 19": the controller's data logger on or off, how full the
// long-term log is, deleting it, and copying it to the USB stick.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kDataLoggerDialogId = 258;

enum DataLoggerControl : int {
  kLoggerOn = 2,
  kLoggerOff = 3,
  kLoggerDelete = 4,
  kLoggerCopy = 5,
  kLoggerBoxOff = 1046,
  kLoggerExit = 1219,
  kLoggerBoxOn = 1262,
  kLoggerUsedSpace = 1263,
  kLoggerUsedLabel = 1428,
};

int OpenDataLoggerDialog(plat::Hwnd parent);

// The one-second tick after a long-term append: refreshes the dialog when it is open, so its
// used-space figure follows.
void RefreshDataLoggerDialog();

// Places a dialog centred over its parent and 20 pixels higher, never above the top edge.
void CenterRaised(plat::Hwnd dialog);

}  // namespace dialogs
