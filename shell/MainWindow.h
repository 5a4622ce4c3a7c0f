#pragma once
// The main window of the panel: its six buttons, the eighteen screen windows it owns, the view
// rules that decide what fills the right half of the main screen, and its commands.
#include <cstdint>

#include "link/DryerStatus.h"
#include "platform/Window.h"

namespace shell {

// The screen windows in creation order.
enum class Screen : uint8_t {
  ViewSelection,
  Warning,
  LineGraph,
  AverageValues,
  BootLoader,
  CustomView,
  UnloadStatus,
  LeftStatusBar,
  RightStatusBar,
  ButtonBar,
  TimerSelect,
  TempSelect,
  SetupSelection,
  ExtendedSetup,
  Graph,
  DryerPic,
  BatchDrying,
  AutoStartConfig,
  Count,
};
inline constexpr int kScreenCount = static_cast<int>(Screen::Count);

inline constexpr int kMainButtonCount = 6;
inline constexpr int kMainButtonY = 427;
inline constexpr int kMainButtonWidth = 105;
inline constexpr int kMainButtonHeight = 40;
inline constexpr int kQuickStartPicture = 595;

// Registers the main window class and creates the main window with its buttons; kNoWindow
// when it cannot be created.
plat::Hwnd CreateMainWindow();
// Registers one class per screen window, creates them in table order and runs ApplyView.
bool CreateScreenWindows();
// The window of a screen, kNoWindow before it exists.
plat::Hwnd ScreenWindow(Screen s);
// DRAW_GRAPH_WINDOW when the graph screen made one.
plat::Hwnd DrawGraphWindow();
// Button i (0..5: TIMERS, TEMPS, SETUP, VIEW, fifth, QS).
plat::Hwnd MainButton(int i);

void ApplyView();
// Runs the refresh step of every visible screen window (captions, visible buttons, what it
// reads): from the tick, and after the language changed. A hidden one refreshes when shown.
void RefreshScreenWindows();
void PlaceMainButtons();
void ShowMainScreen();
void HideMainScreen();

// What the fifth button (screens::kCmdMisc) does for a status and the two flags the decoder keeps.
enum class QuickAction : uint8_t {
  Nothing,
  MoistureSetpoint,      // dialog 225, entry mode 3
  MoistureAfterLearning, // the learning-period question first, then dialog 225
  Temps,                 // as the TEMPS button
  GrainSetpoint1,
  GrainSetpoints3Then2,
};
QuickAction ChooseQuickAction(const lnk::DryerStatus& s, bool miscDisabled);
bool LearningPeriodActive(const lnk::DryerStatus& s);

// The dialogs that belong to other parts of the panel, opened through these hooks so that a
// test can see what a command asked for. Unset hooks do nothing.
enum class PanelDialog : uint8_t {
  MeterRoll,          // 166
  MoistureSetpoint,   // 225
  GrainSetpoint1,     // 101 for grain temperature setpoint 1
  GrainSetpoint2,
  GrainSetpoint3,
  AutoStartStatus,    // 612
  ShutdownHistory,    // 197
  SystemInformation,  // 440
  DataLoggerSetup,
  Count,
};
using PanelDialogHook = void (*)(PanelDialog which);
void SetPanelDialogHook(PanelDialogHook hook);
void OpenPanelDialog(PanelDialog which);

// Back to the state of a fresh process (tests): forgets the windows and the hook.
void ResetMainWindowState();

}  // namespace shell
