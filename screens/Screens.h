#pragma once
// The screen windows of the panel: their class names, one procedure each (one source per
// window), the state of the main screen they share, and the commands they send to the main
// window. The shell registers the classes and creates the windows in table order; a screen
// never calls the shell: it sends a command to the main window, as a Win32 child would.
#include <cstdint>

#include "platform/Window.h"

namespace screens {

inline constexpr char kViewSelectionClass[] = "VIEW_SELECTION_WINDOW";
inline constexpr char kWarningClass[] = "WARNING_WINDOW";
inline constexpr char kLineGraphClass[] = "LINE_GRAPH_WINDOW";
inline constexpr char kAverageValuesClass[] = "AVERAGE_VALUES_WINDOW";
inline constexpr char kBootLoaderClass[] = "BOOT_LOADER_WINDOW";
inline constexpr char kCustomViewClass[] = "CUSTOM_VIEW_WINDOW";
inline constexpr char kUnloadStatusClass[] = "UNLOAD_STATUS_WINDOW";
inline constexpr char kLeftStatusBarClass[] = "DRYER_LEFT_STATUS_BAR_WINDOW";
inline constexpr char kRightStatusBarClass[] = "DRYER_RIGHT_STATUS_BAR_WINDOW";
inline constexpr char kButtonBarClass[] = "BUTTON_BAR_WINDOW";
inline constexpr char kTimerSelectClass[] = "TIMER_SELECT_WINDOW";
inline constexpr char kTempSelectClass[] = "TEMP_SELECT_WINDOW";
inline constexpr char kSetupSelectionClass[] = "SETUP_SELECTION_WINDOW";
inline constexpr char kExtendedSetupClass[] = "EXTENDED_SETUP_SELECTION_WINDOW_NEW";
inline constexpr char kGraphClass[] = "GRAPH_WINDOW";
inline constexpr char kDrawGraphClass[] = "DRAW_GRAPH_WINDOW";
inline constexpr char kDryerPicClass[] = "DRYER_PIC_WINDOW";
inline constexpr char kBatchDryingClass[] = "BATCH_DRYING_WINDOW";
inline constexpr char kAutoStartConfigClass[] = "AUTO_START_CONFIG_WINDOW";

// One procedure per screen window.
plat::LResult ViewSelectionWindowProc(plat::Hwnd, plat::Msg, plat::WParam, plat::LParam);
plat::LResult WarningWindowProc(plat::Hwnd, plat::Msg, plat::WParam, plat::LParam);
plat::LResult LineGraphWindowProc(plat::Hwnd, plat::Msg, plat::WParam, plat::LParam);
plat::LResult StatusChartWindowProc(plat::Hwnd, plat::Msg, plat::WParam, plat::LParam);
plat::LResult BootLoaderWindowProc(plat::Hwnd, plat::Msg, plat::WParam, plat::LParam);
plat::LResult PlenumViewWindowProc(plat::Hwnd, plat::Msg, plat::WParam, plat::LParam);
plat::LResult UnloadStatusWindowProc(plat::Hwnd, plat::Msg, plat::WParam, plat::LParam);
plat::LResult LeftStatusBarWindowProc(plat::Hwnd, plat::Msg, plat::WParam, plat::LParam);
plat::LResult RightStatusBarWindowProc(plat::Hwnd, plat::Msg, plat::WParam, plat::LParam);
plat::LResult ButtonBarWindowProc(plat::Hwnd, plat::Msg, plat::WParam, plat::LParam);
// A full-screen selection screen with EXIT only, until its own buttons exist.
plat::LResult SelectionWindowProc(plat::Hwnd, plat::Msg, plat::WParam, plat::LParam);
plat::LResult TimerSelectWindowProc(plat::Hwnd, plat::Msg, plat::WParam, plat::LParam);
// The timer screen's presets live in its four panels, child windows that a repaint of the screen
// itself does not reach: a changed preset repaints them here.
enum class TimerPanelSet : uint8_t { All, OutOfGrain };
void InvalidateTimerPanels(plat::Hwnd timerScreen, TimerPanelSet which, bool erase);
plat::LResult TempSelectWindowProc(plat::Hwnd, plat::Msg, plat::WParam, plat::LParam);
plat::LResult GraphWindowProc(plat::Hwnd, plat::Msg, plat::WParam, plat::LParam);
plat::LResult DrawGraphWindowProc(plat::Hwnd, plat::Msg, plat::WParam, plat::LParam);
plat::LResult DryerPicWindowProc(plat::Hwnd, plat::Msg, plat::WParam, plat::LParam);
plat::LResult BatchDryingWindowProc(plat::Hwnd, plat::Msg, plat::WParam, plat::LParam);

// A screen's paint only draws. What it shows besides (captions, which buttons are visible, the
// scroll range, what it reads from the logs) changes in its refresh step, which the screen runs
// when it is shown and on this message; the shell sends it from its tick, so a new status or a
// new language reaches the screen there. Changed captions and visibility invalidate themselves.
inline constexpr plat::Msg kMsgRefresh = plat::UserMessage(0x100);
inline void RefreshScreen(plat::Hwnd h) { plat::SendMessage(h, kMsgRefresh); }

// Commands of the main window (control ids of its buttons and of the loop's requests), and the
// panel's own commands that screens send to it.
enum MainCommand : int {
  kCmdTimers = 34817,
  kCmdTemps = 34818,
  kCmdSetup = 34819,
  kCmdView = 34820,
  kCmdMisc = 34821,
  kCmdKnob = 34822,
  kCmdDipSwitch = 34823,
  kCmdOptionChange = 36968,
  kCmdQuickStart = 37011,
  kCmdShowMainScreen = 40001,  // a selection screen closed
  kCmdApplyView = 40002,
  kCmdOpenMeterRoll = 40003,   // the unload panel's speed button
  kCmdOpenHistory = 36901,      // the view pop-up's history button
  kCmdOpenSystemInfo = 36904,   // the view pop-up's system information button
};

// State of the main screen shared by the shell and the screens (UI thread only).
struct MainScreenState {
  uint8_t selectedView = 0;        // 0 status chart, 1 graph
  uint8_t mainScreenShowing = 1;   // cleared while the setup screens are open
  uint8_t meterRollReminder = 0;   // the fifth button first offers the meter-roll dialog
  uint8_t meterRollByKnob = 0;     // the meter-roll dialog was opened by the knob
  uint8_t meterRollOpen = 0;       // the meter-roll dialog is open (read by the link thread)
  uint8_t meterRollQuestion = 0;   // the meter-roll question flag
  uint8_t helpDialogBySelf = 0;    // the history screen opened the warning help dialog itself
};
MainScreenState& UiState();

// The main window; screens send their commands to it.
void SetMainWindow(plat::Hwnd h);
plat::Hwnd MainWindow();
inline void SendMainCommand(int id) { plat::SendCommand(MainWindow(), id); }

}  // namespace screens
