#include "platform/Gallery.h"

#include <cstdio>

#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "platform/Font.h"
#include "platform/MessageBox.h"

namespace plat {
namespace {

enum GalleryId : int {
  kOwnerButton = 102,
  kCheckButton = 103,
  kDisabledButton = 104,
  kCheckBox = 110,
  kModeGroup = 111,
  kRadioAuto = 112,
  kRadioManual = 113,
  kEdit = 120,
  kStaticLeft = 121,
  kStaticCenter = 122,
  kStaticRight = 123,
  kProgress = 130,
  kList = 140,
  kReport = 141,
  kVBar = 150,
  kHBar = 151,
};

struct GalleryControl {
  ControlKind kind;
  int id;
  Rect rect;
  const char* text;
  uint32_t style;
};

constexpr GalleryControl kControls[] = {
    {.kind = ControlKind::PushButton, .id = kGalleryMessageButton, .rect = RectXywh(10, 8, 140, 44),
     .text = "MESSAGE BOX", .style = 0},
    {.kind = ControlKind::OwnerDrawButton, .id = kOwnerButton, .rect = RectXywh(160, 8, 110, 44),
     .text = "OWNER", .style = 0},
    {.kind = ControlKind::CheckButton, .id = kCheckButton, .rect = RectXywh(280, 8, 110, 44),
     .text = "SELECT", .style = 0},
    {.kind = ControlKind::PushButton, .id = kDisabledButton, .rect = RectXywh(400, 8, 110, 44),
     .text = "DISABLED", .style = ControlStyle::Disabled},
    {.kind = ControlKind::CheckBox, .id = kCheckBox, .rect = RectXywh(10, 62, 150, 30),
     .text = "CHECK BOX", .style = ControlStyle::Checked},
    {.kind = ControlKind::GroupBox, .id = kModeGroup, .rect = RectXywh(170, 56, 230, 72),
     .text = "DRYING MODE", .style = 0},
    {.kind = ControlKind::RadioButton, .id = kRadioAuto, .rect = RectXywh(180, 84, 100, 30),
     .text = "AUTO", .style = ControlStyle::Group | ControlStyle::Checked},
    {.kind = ControlKind::RadioButton, .id = kRadioManual, .rect = RectXywh(290, 84, 100, 30),
     .text = "MANUAL", .style = 0},
    {.kind = ControlKind::Edit, .id = kEdit, .rect = RectXywh(410, 62, 220, 30), .text = "18.5 %",
     .style = 0},
    {.kind = ControlKind::Static, .id = kStaticLeft, .rect = RectXywh(410, 100, 220, 24),
     .text = "LEFT, BORDER", .style = ControlStyle::Border},
    {.kind = ControlKind::Static, .id = kStaticCenter, .rect = RectXywh(410, 128, 220, 24),
     .text = "CENTRE", .style = ControlStyle::Center},
    {.kind = ControlKind::Static, .id = kStaticRight, .rect = RectXywh(410, 156, 220, 24),
     .text = "RIGHT 73\xb0" "F", .style = ControlStyle::Right},
    {.kind = ControlKind::ProgressBar, .id = kProgress, .rect = RectXywh(10, 140, 390, 24),
     .text = "", .style = 0},
    {.kind = ControlKind::ListBox, .id = kList, .rect = RectXywh(10, 188, 190, 144), .text = "",
     .style = 0},
    {.kind = ControlKind::ListView, .id = kReport, .rect = RectXywh(210, 188, 380, 144),
     .text = "", .style = 0},
    {.kind = ControlKind::VScrollBar, .id = kVBar, .rect = RectXywh(600, 188, 30, 144), .text = "",
     .style = 0},
    {.kind = ControlKind::HScrollBar, .id = kHBar, .rect = RectXywh(10, 340, 620, 26), .text = "",
     .style = 0},
};

struct FontSample {
  int height;
  FontWeight weight;
  Rect rect;
};

constexpr FontSample kFontSamples[] = {
    {10, FontWeight::Normal, Rect{10, 372, 90, 392}},
    {13, FontWeight::Normal, Rect{90, 372, 190, 392}},
    {15, FontWeight::Normal, Rect{190, 372, 300, 392}},
    {20, FontWeight::Bold, Rect{10, 396, 150, 424}},
    {25, FontWeight::Normal, Rect{150, 396, 300, 428}},
    {30, FontWeight::Bold, Rect{10, 424, 300, 456}},
};
constexpr Rect kBigValue{310, 372, 630, 452};
constexpr Color kGalleryBackground = Rgb(200, 200, 200);
constexpr int kRows = 6;

const char* const kReportRows[kRows][3] = {
    {"0F0C PLENUM HIGH LIMIT", "FAN/HEATER #1", "7:05 PM"},
    {"0102 FLAME FAILURE", "FAN/HEATER #2", "6:41 PM"},
    {"0203 AIR SWITCH", "FAN/HEATER #3", "2:12 PM"},
    {"0E05 REAR DISCHARGE", "UNLOAD", "9:30 AM"},
    {"0A01 MOTOR OVERLOAD", "METER ROLL", "8:02 AM"},
    {"0C07 MOISTURE SENSOR", "SENSOR", "6:15 AM"},
};

void Fill(Hwnd h) {
  for (const GalleryControl& c : kControls) CreateControl(h, c.kind, c.id, c.rect, c.text, c.style);
  Hwnd list = GetDlgItem(h, kList);
  char line[32];
  for (int i = 1; i <= 14; ++i) {
    std::snprintf(line, sizeof line, "Help line %d", i);
    ListBoxAddString(list, line);
  }
  Hwnd report = GetDlgItem(h, kReport);
  ListViewInsertColumn(report, 0, "Shutdown ID", 180);
  ListViewInsertColumn(report, 1, "Node ID", 110);
  ListViewInsertColumn(report, 2, "Time", 70);
  for (int i = kRows - 1; i >= 0; --i) {
    ListViewInsertItem(report, 0, kReportRows[i][0]);
    ListViewSetItemText(report, 0, 1, kReportRows[i][1]);
    ListViewSetItemText(report, 0, 2, kReportRows[i][2]);
  }
  ListSetSelection(report, 1);
  SetScrollInfo(GetDlgItem(h, kVBar), ScrollInfo{.min = 0, .max = 30, .page = 8, .pos = 4});
  SetScrollInfo(GetDlgItem(h, kHBar), ScrollInfo{.min = 0, .max = 100, .page = 10, .pos = 60});
  SetProgressRange(GetDlgItem(h, kProgress), 0, 90);
  SetProgressPos(GetDlgItem(h, kProgress), 60);
}

void Paint(PaintContext& ctx) {
  Canvas& c = *ctx.canvas;
  c.SetBackgroundMode(BackgroundMode::Transparent);
  c.SetTextColor(kTextColor);
  char label[24];
  for (const FontSample& s : kFontSamples) {
    c.SetFont(CreateFont(kFaceTahoma, s.height, s.weight));
    std::snprintf(label, sizeof label, "Tahoma %d", s.height);
    c.DrawText(s.rect, label, TextFlag::SingleLine | TextFlag::VCenter);
  }
  c.FillRect(kBigValue, Rgb(0, 0, 0));
  c.SetFont(CreateFont(kFaceTahoma, 60, FontWeight::Bold));
  c.SetTextColor(Rgb(50, 0, 250));
  c.DrawText(kBigValue, " 105 \xb0" "F ", TextFlag::Right | TextFlag::VCenter | TextFlag::SingleLine);
  c.SetFont(SystemFont());
  c.SetTextColor(kTextColor);
  c.DrawText(Rect{520, 8, 630, 52}, "System font", TextFlag::Center | TextFlag::VCenter);
}

LResult DrawOwnerButton(const DrawItemInfo& item) {
  Canvas& c = *item.canvas;
  bool pressed = (item.state & ItemState::Pressed) != 0;
  Color face = pressed ? Rgb(255, 200, 0) : Rgb(0, 64, 160);
  c.FillRect(item.rect, face);
  c.FillRect(Rect{item.rect.left, item.rect.bottom - 8, item.rect.right, item.rect.bottom},
             pressed ? Rgb(200, 120, 0) : Rgb(0, 32, 96));
  c.FrameRect(item.rect, kFrameColor, 2);
  c.SetTextColor(pressed ? kTextColor : Rgb(255, 255, 255));
  c.SetFont(SystemFont());
  c.DrawText(item.rect, GetWindowText(item.control),
             TextFlag::Center | TextFlag::VCenter | TextFlag::SingleLine);
  return 1;
}

void Scroll(Hwnd h, WParam w, LParam l) {
  Hwnd bar = static_cast<Hwnd>(static_cast<uint32_t>(l));
  ScrollInfo info = GetScrollInfo(bar);
  int page = info.page > 0 ? info.page : 1;
  int pos = info.pos;
  switch (ScrollCodeFrom(w)) {
    case ScrollCode::LineUp: pos -= 1; break;
    case ScrollCode::LineDown: pos += 1; break;
    case ScrollCode::PageUp: pos -= page; break;
    case ScrollCode::PageDown: pos += page; break;
    case ScrollCode::ThumbTrack:
    case ScrollCode::ThumbPosition: pos = ScrollPositionFrom(w); break;
    case ScrollCode::Top: pos = info.min; break;
    case ScrollCode::Bottom: pos = info.max; break;
    case ScrollCode::EndScroll: return;
  }
  pos = SetScrollPos(bar, pos);
  if (GetDlgCtrlID(bar) == kHBar) SetProgressPos(GetDlgItem(h, kProgress), pos);
}

LResult GalleryProc(Hwnd h, Msg msg, WParam w, LParam l) {
  switch (msg) {
    case Msg::Create:
      Fill(h);
      return 0;
    case Msg::Paint:
      Paint(PaintFrom(l));
      return 0;
    case Msg::DrawItem:
      return DrawOwnerButton(DrawItemFrom(l));
    case Msg::Command:
      if (CommandId(w) == kGalleryMessageButton) ShowGalleryMessage(h);
      return 0;
    case Msg::HScroll:
    case Msg::VScroll:
      Scroll(h, w, l);
      return 0;
    case Msg::Destroy:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProc(h, msg, w, l);
  }
}

}  // namespace

Hwnd CreateGalleryWindow() {
  if (!RegisterClass(WindowClass{.name = kGalleryClass, .proc = GalleryProc,
                                 .background = kGalleryBackground})) {
    return kNoWindow;
  }
  return CreateWindow(WindowDesc{.className = kGalleryClass, .title = " PLATFORM GALLERY - 00",
                                 .rect = Rect{0, 0, kScreenWidth, kScreenHeight},
                                 .flags = WindowFlag::Visible | WindowFlag::Caption |
                                          WindowFlag::Topmost});
}

int ShowGalleryMessage(Hwnd gallery) {
  return MessageBox(gallery,
                    "The Moisture Control learning period has not expired.  Modifying the MC "
                    "Setpoint is not recommended until the learning period is complete.  Do "
                    "wish to modify the moisture control setpoint?",
                    "MOISTURE CONTROL LEARNING PERIOD STILL ACTIVE", MbButtons::YesNoCancel,
                    MbIcon::Exclamation);
}

}  // namespace plat
