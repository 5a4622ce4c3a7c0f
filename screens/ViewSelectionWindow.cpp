#include "screens/ViewSelectionWindow.h"

#include <cstdio>
#include <initializer_list>

#include "dialogs/DialogText.h"
#include "i18n/Language.h"
#include "i18n/Resources.h"
#include "link/DryerStatus.h"
#include "link/SettingRequest.h"
#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Process.h"
#include "records/Preferences.h"
#include "screens/Screens.h"

namespace screens {
namespace {

using plat::RectXywh;

struct ViewButton {
  const char* text;
  int command;
  plat::Rect place;
  int picture;
};
constexpr ViewButton kButtons[] = {
    {.text = "CHART VIEW BUTTON", .command = kViewChartButton, .place = RectXywh(10, 10, 200, 50), .picture = 42},
    {.text = "GRAPH VIEW BUTTON", .command = kViewGraphButton, .place = RectXywh(10, 70, 200, 50), .picture = 43},
    {.text = "MANUALS BUTTON", .command = kViewManualsButton, .place = RectXywh(10, 130, 200, 50), .picture = 44},
    {.text = "HISTORY BUTTON", .command = kViewHistoryButton, .place = RectXywh(230, 10, 200, 50), .picture = 45},
    {.text = "HISTORY BUTTON", .command = kViewSystemInfoButton, .place = RectXywh(230, 70, 200, 50), .picture = 46},
    {.text = "EXIT VIEW BUTTON", .command = kViewExitButton, .place = RectXywh(151, 190, 158, 41), .picture = 41},
};
constexpr int kButtonCount = sizeof kButtons / sizeof kButtons[0];
constexpr int kCaptionTextId = 469;

constexpr const char* kRefusedCaption = " REQUESTED FUNCTION NOT PERMITTED";
constexpr const char* kGraphRefused = "Graph is not available in Batch Drying.";
constexpr const char* kChartRefused = "Status Chart is not available in Batch Drying.";
constexpr const char* kManualsProgram = "xdg-open";
constexpr const char* kManualsFolder = "\\Hard Disk\\Manuals";
constexpr const char* kManualPrefix = "OperatorManual_";  // + folder code, e.g. OperatorManual_DE.pdf
constexpr const char* kManualSuffix = ".pdf";
constexpr const char* kEnglishCode = "EN";
constexpr const char* kManualsFailedText = " Trying to Open Manuals";
constexpr const char* kManualsFailedCaption = " Could not execute Explorer Program!";

struct ViewSelectionState {
  plat::Bitmap pictures[kButtonCount];
};
ViewSelectionState gView;

void Show(const char* className, bool visible) { plat::ShowWindow(plat::FindWindow(className), visible); }

// The view request goes to the controller first, so a refused choice still becomes the stored
// view and takes effect once the dryer leaves batch drying.
void ChooseView(plat::Hwnd pop, bool graph) {
  const int reg = lnk::RowRegister(lnk::RowInfo(lnk::CommandRow::DisplayOptions));
  lnk::RequestBits(reg, graph ? lnk::kDisplayOptionsGraphView : 0, graph ? 0 : lnk::kDisplayOptionsGraphView,
              lnk::CommandRow::DisplayOptions);
  if (lnk::ReadStatusByte(lnk::kStatusDryerType) != 0) {
    plat::MessageBox(pop, graph ? kGraphRefused : kChartRefused, kRefusedCaption, plat::MbButtons::Ok,
                     plat::MbIcon::Exclamation);
    return;
  }
  Show(kCustomViewClass, !graph);
  Show(kAverageValuesClass, !graph);
  Show(kDrawGraphClass, graph);
  Show(kGraphClass, graph);
  plat::ShowWindow(pop, false);
  const uint8_t view = graph ? records::kViewGraph : records::kViewStatusChart;
  if (records::SavePreference(records::kPrefViewSelection, view)) {
    UiState().selectedView = view;
    records::CurrentPreferences().viewSelection = view;
  }
}

// The operator's manual in the display language, else the English one, else the folder itself
// for whatever the operator keeps there; a panel path, or false when the folder is missing.
bool ManualToOpen(char* out, size_t size) {
  if (!plat::FolderExists(kManualsFolder)) return false;
  for (const char* code : {i18n::CurrentFolderCode(), kEnglishCode}) {
    std::snprintf(out, size, "%s\\%s%s%s", kManualsFolder, kManualPrefix, code, kManualSuffix);
    if (plat::FileExists(out)) return true;
  }
  std::snprintf(out, size, "%s", kManualsFolder);
  return true;
}

void OpenManuals(plat::Hwnd pop) {
  plat::ShowWindow(pop, false);
  char manual[256];
  char host[1024];
  if (!ManualToOpen(manual, sizeof manual) || !plat::ResolvePath(manual, host, sizeof host) ||
      plat::StartProgram(kManualsProgram, host) != plat::ProcessResult::Ok)
    plat::MessageBox(MainWindow(), kManualsFailedText, kManualsFailedCaption, plat::MbButtons::Ok);
}

void OnCreate(plat::Hwnd h) {
  dialogs::SetStringIfPresent(h, 0, kCaptionTextId);
  for (int i = 0; i < kButtonCount; ++i) {
    i18n::LoadLocalisedBitmap(kButtons[i].picture, gView.pictures[i]);
    plat::CreateControl(h, plat::ControlKind::OwnerDrawButton, kButtons[i].command, kButtons[i].place,
                        kButtons[i].text, 0);
  }
}

void OnDrawItem(const plat::DrawItemInfo& item) {
  for (int i = 0; i < kButtonCount; ++i) {
    if (kButtons[i].command != item.controlId) continue;
    const bool pressed = (item.state & plat::ItemState::Pressed) != 0;
    if (gView.pictures[i].Empty()) {
      plat::DrawButtonFace(*item.canvas, item.rect, kButtons[i].text, pressed, true);
    } else {
      item.canvas->Blit(0, 0, gView.pictures[i].View());
      if (pressed) item.canvas->FrameRect(item.rect, plat::Rgb(255, 255, 0), 3);
    }
    return;
  }
}

void OnCommand(plat::Hwnd h, int id) {
  switch (id) {
    case kViewChartButton: ChooseView(h, false); return;
    case kViewGraphButton: ChooseView(h, true); return;
    case kViewManualsButton: OpenManuals(h); return;
    case kViewHistoryButton:
    case kViewSystemInfoButton:
      plat::ShowWindow(h, false);
      SendMainCommand(id);
      return;
    case kViewExitButton: plat::ShowWindow(h, false); return;
    default: return;
  }
}

}  // namespace

// The view selection pop-up: chart or graph, the manuals, the history and the system
// information.
plat::LResult ViewSelectionWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::Create:
      OnCreate(h);
      return 0;
    case plat::Msg::Destroy:
      for (plat::Bitmap& b : gView.pictures) b.Release();
      return 0;
    case plat::Msg::DrawItem:
      OnDrawItem(plat::DrawItemFrom(l));
      return 1;
    case plat::Msg::Command:
      OnCommand(h, plat::CommandId(w));
      return 0;
    default:
      return plat::DefWindowProc(h, msg, w, l);
  }
}

}  // namespace screens
