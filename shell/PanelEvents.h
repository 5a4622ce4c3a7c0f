#pragma once
// The link's events as the panel fills them: every request of the decoder becomes a message
// posted to the main window, which then repaints the window or re-runs the view rules on the
// UI thread. Shutdown records go straight to the history store, which serialises its writers.
#include "platform/Window.h"

namespace shell {

enum PanelMessage : int {
  kMsgRedraw = 1,         // wParam: PanelWindow, lParam: erase
  kMsgReshowViews = 2,    // wParam: ReshowReason
  kMsgUpdateButtons = 3,
  kMsgRelayoutButtons = 4,
};

void InstallPanelLinkEvents();
// The main window's handling of the messages above.
plat::LResult HandlePanelEvent(plat::Msg msg, plat::WParam w, plat::LParam l);

}  // namespace shell
