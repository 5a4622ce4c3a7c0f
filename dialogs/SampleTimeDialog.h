#pragma once
// Dialog 245 "Select Data Log Sample Time - 35": four periods for the short-term log, one of
// them checked, ACCEPT / EXIT saving the choice, and CLEAR TABLE asking with dialog 604
// before the log's files are deleted.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kSampleTimeDialogId = 245;
inline constexpr int kClearTableDialogId = 604;

enum SampleTimeControl : int {
  kSampleAccept = 1189,
  kSampleClearTable = 1190,
  kSampleBox1 = 1222,
  kSampleButton1 = 1223,
  kSampleBox5 = 1224,
  kSampleButton5 = 1225,
  kSampleBox10 = 1226,
  kSampleButton10 = 1227,
  kSampleBox15 = 1228,
  kSampleButton15 = 1229,
  kSampleGroup = 1230,
  kSampleNote = 1231,
  kSampleNote2 = 1232,
};

enum ClearTableControl : int {
  kClearTableText = 1000,
};

// Runs dialog 245 over `parent`; returns how it closed (the id of the button that closed it).
int OpenSampleTimeDialog(plat::Hwnd parent);

}  // namespace dialogs
