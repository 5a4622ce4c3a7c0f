#pragma once
// The dialogs the main window's commands open, each over the window the panel uses as its
// parent. A dialog that is not part of the panel yet opens nothing.
#include "shell/MainWindow.h"

namespace shell {

void OpenPanelDialogNow(PanelDialog which);
// The history dialog asked for the help of a row: the warning help dialog opens over it, marked
// as the history's own so that the tenth-second tick does not close it.
void OpenHistoryHelp(plat::Hwnd historyDialog);

}  // namespace shell
