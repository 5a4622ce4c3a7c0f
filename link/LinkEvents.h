#pragma once
// What the link needs done elsewhere: redraws, re-showing the main views, shutdown records and
// two questions about the meter-roll dialog. The shell fills this record once at start; its
// functions may be called from the link thread and must post to the UI thread rather than touch
// windows. The link itself never shows or hides a window. Unset entries do nothing.
#include <cstdint>

namespace lnk {

enum class PanelWindow : uint8_t {
  DryerPicture,
  StatusBar,  // the right-hand status bar
  BatchTimers,
  SetupSelection,
  WarningWindow,
  UnloadStatus,
  PlenumView,  // the custom view
  LineGraph,
  StatusChart,
  OutOfGrainTimer,
  MiscButton,
  ButtonBar,
  MainScreens,   // every main screen that shows a field without its own window above
  Diagnostics,
  UnitStatistics,
  Count,
};
inline constexpr int kPanelWindowCount = static_cast<int>(PanelWindow::Count);

// Why the main views are re-shown.
enum class ReshowReason : uint8_t {
  DryerTypeChanged,  // only when the main screen is showing
  ViewModeChanged,   // chart or graph, after bit 6 of 1:10 changed
};

struct LinkEvents {
  void* context = nullptr;
  void (*redraw)(void* context, PanelWindow window, bool erase) = nullptr;
  void (*reshowMainViews)(void* context, ReshowReason reason) = nullptr;
  void (*updateMainButtons)(void* context) = nullptr;
  void (*relayoutButtonBar)(void* context) = nullptr;
  void (*recordShutdown)(void* context, uint8_t node, uint8_t warning) = nullptr;
  // Asked by the decoder while it holds the status record: they read flags and must not take
  // a snapshot. Both answer false when unset.
  bool (*meterRollWindowVisible)(void* context) = nullptr;
  bool (*meterRollQuestionPending)(void* context) = nullptr;
};

// Set once at start, before the link thread runs. Tests set a recording implementation.
void SetLinkEvents(const LinkEvents& events);
const LinkEvents& GetLinkEvents();

// Calls through the current record; each does nothing when its entry is unset.
void PostRedraw(PanelWindow window, bool erase = false);
void PostReshowMainViews(ReshowReason reason);
void PostUpdateMainButtons();
void PostRelayoutButtonBar();
void PostShutdownRecord(uint8_t node, uint8_t warning);
bool MeterRollWindowVisible();
bool MeterRollQuestionPending();

}  // namespace lnk
