#pragma once
// The dialogs the main window's commands open, each over the window the panel uses as its
// parent. A dialog that is not part of the panel yet opens nothing.
#include "shell/MainWindow.h"

namespace shell {

void OpenPanelDialogNow(PanelDialog which);

}  // namespace shell
