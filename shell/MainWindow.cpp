#include "shell/MainWindow.h"

#include "dialogs/DipSwitchDialog.h"
#include "dialogs/ShutdownHistoryDialog.h"
#include "i18n/Language.h"
#include "i18n/Resources.h"
#include "link/Link.h"
#include "link/LinkEvents.h"
#include "link/SettingRequest.h"
#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/MessageBox.h"
#include "platform/Pictures.h"
#include "records/Preferences.h"
#include "screens/BatchTimerLogic.h"
#include "screens/Screens.h"
#include "shell/Panel.h"
#include "shell/PanelDialogs.h"
#include "shell/PanelEvents.h"
#include "shell/Ticks.h"

namespace shell {
namespace {

using plat::Hwnd;
using plat::Rect;
using plat::RectXywh;
namespace WF = plat::WindowFlag;

inline constexpr char kMainClass[] = "DRYER_PANEL_MAIN";
inline constexpr char kMainTitle[] = "DRYER PANEL";
inline constexpr plat::Color kGrey = plat::Rgb(192, 192, 192);
inline constexpr plat::Color kBlack = plat::Rgb(0, 0, 0);

enum class Initially : uint8_t { Hidden, Shown, ChartView, GraphView };

struct ScreenRow {
  const char* className;
  plat::WindowProc proc;
  const char* title;
  Rect rect;
  bool caption = false;
  bool topmost = false;
  plat::Color background;
  Initially initially;
};

constexpr ScreenRow kScreens[kScreenCount] = {
    {.className = screens::kViewSelectionClass, .proc = screens::ViewSelectionWindowProc,
     .title = "  VIEW SELECTION WINDOW - 04", .rect = RectXywh(100, 50, 450, 275), .caption = true,
     .background = kBlack, .initially = Initially::Hidden},
    {.className = screens::kWarningClass, .proc = screens::WarningWindowProc,
     .title = " WARNING - DRYER SHUTTING DOWN! - 05", .rect = RectXywh(10, 20, 600, 325),
     .caption = true, .background = kBlack, .initially = Initially::Hidden},
    {.className = screens::kLineGraphClass, .proc = screens::LineGraphWindowProc,
     .title = " GRAIN TEMPERATURE / MOISTURE", .rect = RectXywh(0, 40, 240, 205), .caption = true,
     .background = kBlack, .initially = Initially::Hidden},
    {.className = screens::kAverageValuesClass, .proc = screens::StatusChartWindowProc,
     .title = " DRYER STATUS CHART", .rect = RectXywh(240, 40, 400, 205), .caption = true,
     .background = kBlack, .initially = Initially::ChartView},
    {.className = screens::kBootLoaderClass, .proc = screens::BootLoaderWindowProc,
     .title = " UPDATE DRYER PROGRAMMING", .rect = RectXywh(0, 0, 640, 480), .caption = true,
     .background = kBlack, .initially = Initially::Hidden},
    {.className = screens::kCustomViewClass, .proc = screens::PlenumViewWindowProc,
     .title = " PLENUM(S)", .rect = RectXywh(240, 245, 400, 175), .caption = true,
     .background = kBlack, .initially = Initially::ChartView},
    {.className = screens::kUnloadStatusClass, .proc = screens::UnloadStatusWindowProc,
     .title = " UNLOAD STATUS", .rect = RectXywh(0, 245, 240, 175), .caption = true,
     .background = kBlack, .initially = Initially::Hidden},
    {.className = screens::kLeftStatusBarClass, .proc = screens::LeftStatusBarWindowProc,
     .title = " DRYER BAR STATUS", .rect = RectXywh(0, 0, 240, 40), .background = kBlack,
     .initially = Initially::Hidden},
    {.className = screens::kRightStatusBarClass, .proc = screens::RightStatusBarWindowProc,
     .title = " DRYER BAR STATUS", .rect = RectXywh(240, 0, 400, 40), .background = kBlack,
     .initially = Initially::Shown},
    {.className = screens::kButtonBarClass, .proc = screens::ButtonBarWindowProc,
     .title = " DRYER BAR STATUS", .rect = RectXywh(0, 420, 640, 55), .background = kBlack,
     .initially = Initially::Shown},
    {.className = screens::kTimerSelectClass, .proc = screens::TimerSelectWindowProc,
     .title = " SELECT TIMER TO MODIFY - 01", .rect = RectXywh(0, 0, 640, 475), .caption = true,
     .topmost = true, .background = kBlack, .initially = Initially::Hidden},
    {.className = screens::kTempSelectClass, .proc = screens::TempSelectWindowProc,
     .title = " SELECT TEMPERATURE SETPOINT TO MODIFY - 02", .rect = RectXywh(0, 0, 640, 475),
     .caption = true, .topmost = true, .background = kBlack, .initially = Initially::Hidden},
    {.className = screens::kSetupSelectionClass, .proc = screens::SelectionWindowProc,
     .title = " SELECT HARDWARE SETUP PARAMETER TO MODIFY - 03", .rect = RectXywh(0, 0, 640, 475),
     .caption = true, .topmost = true, .background = kBlack, .initially = Initially::Hidden},
    {.className = screens::kExtendedSetupClass, .proc = screens::SelectionWindowProc,
     .title = " SELECT SETUP PARAMETER TO MODIFY - 06", .rect = RectXywh(0, 0, 640, 475),
     .caption = true, .topmost = true, .background = kBlack, .initially = Initially::Hidden},
    {.className = screens::kGraphClass, .proc = screens::GraphWindowProc,
     .title = " GRAPH OF SELECTED DRYER VARIABLES", .rect = RectXywh(240, 40, 400, 380),
     .background = kGrey, .initially = Initially::GraphView},
    {.className = screens::kDryerPicClass, .proc = screens::DryerPicWindowProc,
     .title = " SYSTEM STATUS", .rect = RectXywh(0, 0, 240, 420), .background = kGrey,
     .initially = Initially::Shown},
    {.className = screens::kBatchDryingClass, .proc = screens::BatchDryingWindowProc,
     .title = " BATCH DRYING TIMERS", .rect = RectXywh(240, 40, 400, 205), .caption = true,
     .background = kBlack, .initially = Initially::Hidden},
    {.className = screens::kAutoStartConfigClass, .proc = screens::SelectionWindowProc,
     .title = " SELECT HARDWARE SETUP PARAMETER TO MODIFY - 03", .rect = RectXywh(0, 0, 640, 475),
     .caption = true, .topmost = true, .background = kBlack, .initially = Initially::Hidden},
};

struct MainButtonRow {
  const char* text;
  int command;
  int normalX;  // without the quick-start button
  int quickX;   // beside it
  int width;
  int languagePicture;  // 0: the program's own picture
};
constexpr MainButtonRow kButtons[kMainButtonCount] = {
    {.text = "TIMERS", .command = screens::kCmdTimers, .normalX = 20, .quickX = 10,
     .width = kMainButtonWidth, .languagePicture = 1},
    {.text = "TEMPS", .command = screens::kCmdTemps, .normalX = 144, .quickX = 125,
     .width = kMainButtonWidth, .languagePicture = 2},
    {.text = "SETUP", .command = screens::kCmdSetup, .normalX = 268, .quickX = 240,
     .width = kMainButtonWidth, .languagePicture = 3},
    {.text = "VIEW", .command = screens::kCmdView, .normalX = 392, .quickX = 355,
     .width = kMainButtonWidth, .languagePicture = 4},
    {.text = "MISC", .command = screens::kCmdMisc, .normalX = 516, .quickX = 470,
     .width = kMainButtonWidth, .languagePicture = 5},
    {.text = "QS", .command = screens::kCmdQuickStart, .normalX = 585, .quickX = 585, .width = 44,
     .languagePicture = 0},
};
constexpr int kFifthButton = 4;

constexpr int kQuickStartButton = 5;

// Program pictures the main window holds for the life of the panel, beside the ten language
// pictures of its buttons: fifteen in all, released when it is destroyed.
constexpr int kProgramPictures[] = {136, 137, 210, 211, kQuickStartPicture};
constexpr int kProgramPictureCount = sizeof kProgramPictures / sizeof kProgramPictures[0];

inline constexpr const char* kLearningCaption = "MOISTURE CONTROL LEARNING PERIOD STILL ACTIVE";
inline constexpr const char* kLearningText =
    "The Moisture Control learning period has not expired.  Modifying the MC Setpoint is not "
    "recommended until the learning period is complete.  Do wish to modify the moisture "
    "control setpoint?";
inline constexpr int kMeterRollQuestionTextId = 299;
inline constexpr int kMeterRollQuestionCaptionId = 300;

struct MainWindowState {
  Hwnd main = plat::kNoWindow;
  Hwnd screens[kScreenCount] = {};
  Hwnd buttons[kMainButtonCount] = {};
  plat::Bitmap normal[kMainButtonCount - 1];
  plat::Bitmap pressed[kMainButtonCount - 1];
  const plat::Bitmap* program[kProgramPictureCount] = {};
  PanelDialogHook dialogHook = nullptr;
};
MainWindowState gMain;

void Show(Screen s, bool visible) { plat::ShowWindow(gMain.screens[static_cast<int>(s)], visible); }

// The pressed face is the picture darkened, so one generated file serves both states.
void MakePressedPicture(const plat::Bitmap& normal, plat::Bitmap& out) {
  if (normal.Empty() || !out.Allocate(normal.Width(), normal.Height())) return;
  const uint32_t* src = normal.Pixels();
  uint32_t* dst = out.Pixels();
  const int n = normal.Width() * normal.Height();
  for (int i = 0; i < n; ++i) dst[i] = (src[i] >> 1) & 0x7F7F7F;
}

void LoadButtonPictures() {
  for (int i = 0; i < kMainButtonCount - 1; ++i) {
    if (i18n::LoadLocalisedBitmap(kButtons[i].languagePicture, gMain.normal[i]))
      MakePressedPicture(gMain.normal[i], gMain.pressed[i]);
  }
  for (int i = 0; i < kProgramPictureCount; ++i) gMain.program[i] = plat::GetPicture(kProgramPictures[i]);
}

void ReleaseButtonPictures() {
  for (int i = 0; i < kMainButtonCount - 1; ++i) {
    gMain.normal[i].Release();
    gMain.pressed[i].Release();
  }
  for (auto& p : gMain.program) p = nullptr;
}

void CreateMainButtons(Hwnd main) {
  for (int i = 0; i < kMainButtonCount; ++i) {
    const MainButtonRow& b = kButtons[i];
    const uint32_t style = i == kQuickStartButton ? plat::ControlStyle::Hidden : 0;
    gMain.buttons[i] = plat::CreateControl(main, plat::ControlKind::OwnerDrawButton, b.command,
                                           RectXywh(b.normalX, kMainButtonY, b.width, kMainButtonHeight),
                                           b.text, style);
  }
}

void DrawMainButton(const plat::DrawItemInfo& item) {
  const bool pressed = (item.state & plat::ItemState::Pressed) != 0;
  for (int i = 0; i < kMainButtonCount; ++i) {
    if (item.controlId != kButtons[i].command) continue;
    const plat::Bitmap* picture = nullptr;
    if (i == kQuickStartButton) {
      picture = gMain.program[kProgramPictureCount - 1];
    } else if (!(i == kFifthButton && lnk::Derived().miscDisabled.load() != 0)) {
      picture = pressed && !gMain.pressed[i].Empty() ? &gMain.pressed[i] : &gMain.normal[i];
      if (picture->Empty()) picture = nullptr;
    }
    if (picture != nullptr) {
      item.canvas->FillRect(item.rect, kBlack);
      item.canvas->Blit(0, 0, picture->View());
    } else if (i == kFifthButton && lnk::Derived().miscDisabled.load() != 0) {
      item.canvas->FillRect(item.rect, kBlack);
    } else {
      plat::DrawButtonFace(*item.canvas, item.rect, kButtons[i].text, pressed, true);
    }
    return;
  }
}

// ---- Commands ----

void OnTimers() {
  HideMainScreen();
  Show(Screen::TimerSelect, true);
}

void OnTemps() {
  HideMainScreen();
  Show(Screen::TempSelect, true);
}

void OnSetup() {
  HideMainScreen();
  Show(Screen::Warning, false);
  screens::UiState().mainScreenShowing = 0;
  Show(Screen::SetupSelection, true);
}

void OnView() {
  Hwnd pop = gMain.screens[static_cast<int>(Screen::ViewSelection)];
  plat::ShowWindow(pop, true);
  plat::BringWindowToTop(pop);
}

bool AskLearningPeriod() {
  return plat::MessageBox(gMain.main, kLearningText, kLearningCaption, plat::MbButtons::YesNoCancel,
                          plat::MbIcon::Exclamation) == plat::IdYes;
}

void OnKnob() {
  screens::UiState().meterRollByKnob = 1;
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  if ((s.b[lnk::kStatusMoistureControlMode] & lnk::kMoistureModeMask) == lnk::kModeMoistureVariable && LearningPeriodActive(s) &&
      !AskLearningPeriod())
    return;
  OpenPanelDialog(PanelDialog::MeterRoll);
}

void OnDipSwitch() {
  if (dialogs::ShowDipSwitchDialog(gMain.screens[static_cast<int>(Screen::LineGraph)]) ==
      dialogs::kDipSwitchExit)
    lnk::Derived().defaultsAcknowledged = 1;
}

void OnQuickSetpoint() {
  if (screens::UiState().meterRollReminder) {
    char16_t text[i18n::kStringDestUnits];
    char16_t caption[i18n::kStringDestUnits];
    i18n::GetString(kMeterRollQuestionTextId, text);
    i18n::GetString(kMeterRollQuestionCaptionId, caption);
    if (plat::MessageBox(gMain.main, text, caption, plat::MbButtons::YesNoCancel,
                         plat::MbIcon::Question) == plat::IdYes)
      OpenPanelDialog(PanelDialog::MeterRoll);
  }
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  switch (ChooseQuickAction(s, lnk::Derived().miscDisabled.load() != 0)) {
    case QuickAction::Nothing:
      return;
    case QuickAction::MoistureSetpoint:
      OpenPanelDialog(PanelDialog::MoistureSetpoint);
      return;
    case QuickAction::MoistureAfterLearning:
      if (LearningPeriodActive(s) && !AskLearningPeriod()) return;
      OpenPanelDialog(PanelDialog::MoistureSetpoint);
      return;
    case QuickAction::Temps:
      OnTemps();
      return;
    case QuickAction::GrainSetpoint1:
      OpenPanelDialog(PanelDialog::GrainSetpoint1);
      return;
    case QuickAction::GrainSetpoints3Then2:
      OpenPanelDialog(PanelDialog::GrainSetpoint3);
      OpenPanelDialog(PanelDialog::GrainSetpoint2);
      return;
  }
}

// Returns whether the command was the main window's own.
bool OnCommand(int id) {
  switch (id) {
    case screens::kCmdTimers: OnTimers(); return true;
    case screens::kCmdTemps: OnTemps(); return true;
    case screens::kCmdSetup: OnSetup(); return true;
    case screens::kCmdView: OnView(); return true;
    case screens::kCmdMisc: OnQuickSetpoint(); return true;
    case screens::kCmdKnob: OnKnob(); return true;
    case screens::kCmdDipSwitch: OnDipSwitch(); return true;
    case screens::kCmdOptionChange: return true;
    case screens::kCmdQuickStart: OpenPanelDialog(PanelDialog::AutoStartStatus); return true;
    case screens::kCmdShowMainScreen:
      screens::UiState().mainScreenShowing = 1;
      ShowMainScreen();
      return true;
    case screens::kCmdApplyView: ApplyView(); return true;
    case screens::kCmdOpenMeterRoll: OpenPanelDialog(PanelDialog::MeterRoll); return true;
    case screens::kCmdOpenHistory: OpenPanelDialog(PanelDialog::ShutdownHistory); return true;
    case screens::kCmdOpenSystemInfo: OpenPanelDialog(PanelDialog::SystemInformation); return true;
    default: return false;
  }
}

plat::LResult MainWindowProc(Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::Create:
      LoadButtonPictures();
      CreateMainButtons(h);
      return 0;
    case plat::Msg::Destroy:
      ReleaseButtonPictures();
      plat::PostQuitMessage(0);
      return 0;
    case plat::Msg::Command:
      if (plat::CommandId(w) == dialogs::kHistoryHelpCommand) {
        OpenHistoryHelp(static_cast<Hwnd>(static_cast<uint32_t>(l)));
        return 0;
      }
      if (OnCommand(plat::CommandId(w))) return 0;
      break;
    case plat::Msg::Timer:
      switch (static_cast<uint32_t>(w)) {
        case kLinkTimerId: lnk::LinkTick(); return 0;
        case kSecondTimerId: OneSecondTick(); return 0;
        case kTenthTimerId:
          TenthSecondTick();
          // Inside a modal dialog the outer loop cannot see a stop; the quit message ends
          // every nested loop on its way out.
          if (PanelStopDue() && plat::DialogTemplateId(plat::ActiveTopLevel()) != 0) plat::PostQuitMessage(0);
          return 0;
        default: break;
      }
      break;
    case plat::Msg::DrawItem:
      DrawMainButton(plat::DrawItemFrom(l));
      return 1;
    default:
      if (msg >= plat::Msg::User) return HandlePanelEvent(msg, w, l);
      break;
  }
  return plat::DefWindowProc(h, msg, w, l);
}

bool VisibleAtCreation(Initially initially, uint8_t view) {
  switch (initially) {
    case Initially::Hidden: return false;
    case Initially::Shown: return true;
    case Initially::ChartView: return view == records::kViewStatusChart;
    case Initially::GraphView: return view == records::kViewGraph;
  }
  return false;
}

}  // namespace

bool LearningPeriodActive(const lnk::DryerStatus& s) {
  return s.b[lnk::kStatusLearningCounter] != 0 && (s.b[lnk::kStatusLoadFlags] & lnk::kLoadFlagsBit2) != 0;
}

QuickAction ChooseQuickAction(const lnk::DryerStatus& s, bool miscDisabled) {
  if (miscDisabled) return QuickAction::Nothing;
  const int mode = s.b[lnk::kStatusMoistureControlMode] & lnk::kMoistureModeMask;
  const uint8_t options = s.b[lnk::kStatusOptionBits];
  const uint8_t type = s.b[lnk::kStatusDryerType];
  if ((mode == lnk::kModeStagedBatch || mode == lnk::kModeStagedBatchOther || (options & lnk::kOptionBitsTemplate) != 0) && type == lnk::kDryerTypeBatchOption) {
    if ((options & lnk::kOptionBitsMoisture) != 0 && (s.b[lnk::kStatusMoistureControlMode] & lnk::kMoistureModeBit7) != 0)
      return QuickAction::MoistureSetpoint;
    if ((options & lnk::kOptionBitsTwoHeat) != 0) return QuickAction::Temps;
    return QuickAction::GrainSetpoint1;
  }
  switch (mode) {
    case lnk::kModeTemperature2Speed:
      return type == lnk::kDryerTypeHighLimit ? QuickAction::GrainSetpoints3Then2 : QuickAction::GrainSetpoint1;
    case lnk::kModeMoistureVariable: return QuickAction::MoistureAfterLearning;
    case lnk::kModeMoisture5Speed: return QuickAction::MoistureSetpoint;
    case lnk::kModeTemperature5Speed: return QuickAction::GrainSetpoint1;
    default: return QuickAction::Nothing;
  }
}

Hwnd CreateMainWindow() {
  plat::RegisterClass(plat::WindowClass{.name = kMainClass, .proc = MainWindowProc, .background = kBlack});
  Hwnd h = plat::CreateWindow(plat::WindowDesc{
      .className = kMainClass,
      .title = kMainTitle,
      .rect = RectXywh(0, 0, plat::kScreenWidth, plat::kScreenHeight),
      .flags = WF::Visible | WF::Topmost,
  });
  gMain.main = h;
  return h;
}

bool CreateScreenWindows() {
  const uint8_t view = records::CurrentPreferences().viewSelection;
  screens::UiState().selectedView = view;
  for (int i = 0; i < kScreenCount; ++i) {
    const ScreenRow& r = kScreens[i];
    plat::RegisterClass(plat::WindowClass{.name = r.className, .proc = r.proc, .background = r.background});
  }
  plat::RegisterClass(plat::WindowClass{.name = screens::kDrawGraphClass,
                                        .proc = screens::DrawGraphWindowProc,
                                        .background = plat::Rgb(255, 255, 255)});
  bool all = true;
  for (int i = 0; i < kScreenCount; ++i) {
    const ScreenRow& r = kScreens[i];
    plat::WindowFlags flags = 0;
    if (r.caption) flags |= WF::Caption;
    if (r.topmost) flags |= WF::Topmost;
    if (VisibleAtCreation(r.initially, view)) flags |= WF::Visible;
    gMain.screens[i] = plat::CreateWindow(plat::WindowDesc{
        .className = r.className, .title = r.title, .parent = gMain.main, .rect = r.rect, .flags = flags});
    all = all && gMain.screens[i] != plat::kNoWindow;
  }
  // The buttons were made with the main window; they stay above the bar drawn behind them.
  for (Hwnd b : gMain.buttons) plat::BringWindowToTop(b);
  ApplyView();
  RefreshScreenWindows();
  return all;
}

Hwnd ScreenWindow(Screen s) {
  const int i = static_cast<int>(s);
  return i >= 0 && i < kScreenCount ? gMain.screens[i] : plat::kNoWindow;
}

Hwnd DrawGraphWindow() { return plat::FindWindow(screens::kDrawGraphClass); }

Hwnd MainButton(int i) { return i >= 0 && i < kMainButtonCount ? gMain.buttons[i] : plat::kNoWindow; }

void ApplyView() {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  const uint8_t type = s.b[lnk::kStatusDryerType];
  screens::UiState().selectedView = (s.b[lnk::kStatusDisplayOptions] & lnk::kDisplayOptionsGraphView) ? 1 : 0;

  const BatchButtons rule = ChooseBatchButtons(s);
  Hwnd batch = gMain.screens[static_cast<int>(Screen::BatchDrying)];
  plat::ShowWindow(plat::GetDlgItem(batch, kBatchCommandHiHeat), rule.showHiLoHeat);
  plat::ShowWindow(plat::GetDlgItem(batch, kBatchCommandLoHeat), rule.showHiLoHeat);
  plat::ShowWindow(plat::GetDlgItem(batch, kBatchCommandDry), rule.showDry);
  plat::EnableWindow(plat::GetDlgItem(batch, kBatchCommandDry), true);

  const Hwnd drawGraph = DrawGraphWindow();
  if (type != lnk::kDryerTypeContinuous) {
    plat::ShowWindow(drawGraph, false);
    Show(Screen::Graph, false);
    Show(Screen::AverageValues, false);
    Show(Screen::CustomView, true);
    Show(Screen::BatchDrying, true);
  } else if (screens::UiState().selectedView == 1) {
    plat::ShowWindow(drawGraph, true);
    Show(Screen::Graph, true);
    Show(Screen::AverageValues, false);
    Show(Screen::CustomView, false);
    Show(Screen::BatchDrying, false);
  } else {
    plat::ShowWindow(drawGraph, false);
    Show(Screen::Graph, false);
    Show(Screen::CustomView, true);
    Show(Screen::AverageValues, true);
    Show(Screen::BatchDrying, false);
  }
}

void RefreshScreenWindows() {
  for (Hwnd h : gMain.screens)
    if (plat::IsWindowVisible(h)) screens::RefreshScreen(h);
}

void PlaceMainButtons() {
  const bool quick = (lnk::ReadStatusByte(lnk::kStatusOptionBits2) & lnk::kOptionBits2QuickStart) != 0;
  plat::ShowWindow(gMain.buttons[kQuickStartButton], quick);
  for (int i = 0; i < kMainButtonCount - 1; ++i) {
    const int x = quick ? kButtons[i].quickX : kButtons[i].normalX;
    plat::MoveWindow(gMain.buttons[i], RectXywh(x, kMainButtonY, kMainButtonWidth, kMainButtonHeight));
  }
}

void ShowMainScreen() {
  Show(Screen::DryerPic, true);
  Show(Screen::RightStatusBar, true);
  ApplyView();
  Show(Screen::ButtonBar, true);
  for (int i = 0; i < kMainButtonCount - 1; ++i) plat::ShowWindow(gMain.buttons[i], true);
  PlaceMainButtons();
}

void HideMainScreen() {
  Show(Screen::LineGraph, false);
  Show(Screen::UnloadStatus, false);
  Show(Screen::RightStatusBar, false);
  Show(Screen::CustomView, false);
  Show(Screen::AverageValues, false);
  Show(Screen::ButtonBar, false);
  for (Hwnd b : gMain.buttons) plat::ShowWindow(b, false);
  plat::ShowWindow(DrawGraphWindow(), false);
  Show(Screen::DryerPic, false);
  Show(Screen::BatchDrying, false);
}

void SetPanelDialogHook(PanelDialogHook hook) { gMain.dialogHook = hook; }

void OpenPanelDialog(PanelDialog which) {
  if (gMain.dialogHook != nullptr) gMain.dialogHook(which);
}

void ResetMainWindowState() {
  ReleaseButtonPictures();
  gMain = {};
}

}  // namespace shell
