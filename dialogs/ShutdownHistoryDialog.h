#pragma once
// Dialog 197 "Shutdown History -29": the shutdown history in a list sorted by warning, by node
// or by date/time, its help view, its copy to the USB stick (confirmed with dialog 610, or
// dialog 611 when no stick is there), and the hidden clear gesture: EXIT held for five seconds
// and released offers dialog 609.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kHistoryDialogId = 197;
inline constexpr int kClearHistoryDialogId = 609;
inline constexpr int kCopyHistoryDialogId = 610;
inline constexpr int kNoStickDialogId = 611;

enum HistoryControl : int {
  kHistoryBoxByWarning = 1045,
  kHistoryBoxByDate = 1046,
  kHistoryBoxByNode = 1047,
  kHistoryList = 1105,
  kHistoryExit = 1107,
  kHistoryClear = 1108,
  kHistorySortByWarning = 1109,
  kHistoryCopy = 1110,
  kHistorySortByDate = 1111,
  kHistorySortByNode = 1112,
  kHistoryHelp = 1113,
  kHistoryQuestionText = 1000,
};

// Sent to the dialog's parent as a Command (lParam: the history dialog) when the operator asks
// for the help of the selected row; HistoryHelpRequest() then names the warning. The parent
// opens the warning help dialog over the history dialog.
inline constexpr int kHistoryHelpCommand = 40101;
struct HistoryHelp {
  int node;
  int warning;
};
HistoryHelp HistoryHelpRequest();

int OpenShutdownHistoryDialog(plat::Hwnd parent);

// The one-second tick: while the history dialog is visible, EXIT held counts the clear
// gesture down from 5 to 0; EXIT not held sets it back to 5.
void HistoryDialogSecond();
int HistoryHoldCountdown();

}  // namespace dialogs
