#include "platform/Controls.h"

#include "platform/ControlsInternal.h"
#include "platform/Font.h"
#include "platform/Verify.h"
#include "platform/WindowInternal.h"

// What all controls share: their classes, creation, colours and font, and the procedure that
// hands paint, touches and timers to the control's family.
namespace plat {
namespace detail {
namespace {

ControlData g_data[kMaxWindows];

void PaintControl(Hwnd h, const ControlData& d, PaintContext& ctx) {
  Canvas& c = *ctx.canvas;
  ControlLook look;
  look.rect = GetClientRect(h);
  look.enabled = IsWindowEnabled(h);
  look.text = GetWindowText(h);
  Color parentBack = ClassBackground(GetParent(h));
  look.back = d.customColors ? d.back : parentBack;
  look.fore = look.enabled ? (d.customColors ? d.text : kTextColor) : kDisabledTextColor;
  c.SetFont(FontOf(d));
  c.SetBackgroundMode(BackgroundMode::Transparent);
  switch (d.kind) {
    case ControlKind::PushButton:
    case ControlKind::CheckButton:
    case ControlKind::OwnerDrawButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
      PaintButton(h, d, look, c);
      break;
    case ControlKind::Static:
    case ControlKind::Edit:
    case ControlKind::GroupBox:
      PaintTextControl(d, look, c);
      break;
    case ControlKind::ListBox:
    case ControlKind::ListView:
      PaintListControl(h, d, look, c);
      break;
    case ControlKind::VScrollBar:
    case ControlKind::HScrollBar:
      PaintScrollBar(h, d, look, c);
      break;
    case ControlKind::ProgressBar:
      PaintProgressBar(h, look, c);
      break;
  }
}

void Forget(int slot) {
  ForgetButton(slot);
  ForgetScrollBar(slot);
  ForgetList(slot);
  ForgetProgressBar(slot);
  g_data[slot] = ControlData{};
}

LResult ControlProc(Hwnd h, Msg msg, WParam wParam, LParam lParam) {
  ControlData* d = ControlOf(h);
  if (d == nullptr) return DefWindowProc(h, msg, wParam, lParam);
  switch (msg) {
    case Msg::EraseBackground:
      return 1;  // every control paints its whole face
    case Msg::Paint:
      PaintControl(h, *d, PaintFrom(lParam));
      return 0;
    case Msg::TouchDown:
    case Msg::TouchMove:
    case Msg::TouchUp: {
      Point p = PointFrom(lParam);
      if (IsButtonKind(d->kind)) {
        ButtonTouch(h, *d, msg, p);
      } else if (IsScrollBarKind(d->kind)) {
        ScrollBarTouch(h, *d, msg, p);
      } else if (IsListKind(d->kind)) {
        ListTouch(h, *d, msg, p);
      }
      return 0;
    }
    case Msg::Timer:
      if (wParam == kRepeatTimerId) {
        // Held arrows repeat, as on a Win32 scroll bar.
        if (IsScrollBarKind(d->kind)) {
          ScrollBarRepeat(h, *d);
        } else {
          ListRepeat(h, *d);
        }
      }
      return 0;
    case Msg::Destroy:
      Forget(SlotOf(h));
      return 0;
    default:
      return DefWindowProc(h, msg, wParam, lParam);
  }
}

const char* ClassNameOf(ControlKind k) {
  switch (k) {
    case ControlKind::PushButton:
    case ControlKind::OwnerDrawButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::CheckButton:
    case ControlKind::GroupBox:
      return "BUTTON";
    case ControlKind::Static: return "STATIC";
    case ControlKind::Edit: return "EDIT";
    case ControlKind::ListBox: return "LISTBOX";
    case ControlKind::ListView: return "LISTVIEW";
    case ControlKind::VScrollBar:
    case ControlKind::HScrollBar: return "SCROLLBAR";
    case ControlKind::ProgressBar: return "PROGRESS";
  }
  return "STATIC";
}

}  // namespace

ControlData* ControlOf(Hwnd h) {
  int s = SlotOf(h);
  if (s < 0 || !g_data[s].used) return nullptr;
  return &g_data[s];
}

FontHandle FontOf(const ControlData& d) { return d.font.valid() ? d.font : SystemFont(); }

void NotifyParent(Hwnd h, Notify n) {
  Hwnd parent = GetParent(h);
  if (parent == kNoWindow) return;
  SendMessage(parent, Msg::Command, CommandParam(GetDlgCtrlID(h), n),
              static_cast<LParam>(static_cast<uint32_t>(h)));
}

TextFlags AlignFlags(uint32_t style) {
  if (style & ControlStyle::Center) return TextFlag::Center;
  if (style & ControlStyle::Right) return TextFlag::Right;
  return TextFlag::Left;
}

void RegisterControlClasses() {
  static constexpr const char* kNames[] = {"BUTTON", "STATIC", "EDIT", "LISTBOX", "LISTVIEW",
                                           "SCROLLBAR", "PROGRESS"};
  for (const char* name : kNames) {
    RegisterClass(WindowClass{.name = name, .proc = ControlProc, .background = kFaceColor,
                              .eraseBackground = false});
  }
}

void ResetControls() {
  for (int s = 0; s < kMaxWindows; ++s) Forget(s);
  ResetLists();
}

}  // namespace detail

Hwnd CreateControl(Hwnd parent, ControlKind kind, int id, const Rect& rect, TextRef text,
                   uint32_t style) {
  if (detail::IsListKind(kind) && !detail::ListStoreFree()) return kNoWindow;
  WindowFlags flags = 0;
  if (!(style & ControlStyle::Hidden)) flags |= WindowFlag::Visible;
  if (style & ControlStyle::Disabled) flags |= WindowFlag::Disabled;
  if (style & ControlStyle::Topmost) flags |= WindowFlag::Topmost;
  if (kind == ControlKind::Static || kind == ControlKind::GroupBox) flags |= WindowFlag::Transparent;
  Hwnd h = CreateWindow(WindowDesc{.className = detail::ClassNameOf(kind), .title = text.narrow,
                                   .wideTitle = text.wide, .parent = parent, .rect = rect,
                                   .flags = flags, .id = id});
  if (h == kNoWindow) return kNoWindow;
  int slot = detail::SlotOf(h);
  detail::Forget(slot);
  detail::ControlData& d = detail::g_data[slot];
  d.used = true;
  d.kind = kind;
  d.style = style;
  detail::InitButton(slot, style);
  if (detail::IsListKind(kind)) detail::InitList(slot, kind, style);
  return h;
}

bool GetControlKind(Hwnd h, ControlKind& out) {
  detail::ControlData* d = detail::ControlOf(h);
  if (d == nullptr) return false;
  out = d->kind;
  return true;
}

void SetControlColors(Hwnd h, Color text, Color background) {
  detail::ControlData* d = detail::ControlOf(h);
  VERIFY(d != nullptr);
  if (d == nullptr) return;
  if (d->customColors && d->text == text && d->back == background) return;
  d->customColors = true;
  d->text = text;
  d->back = background;
  InvalidateRect(h, nullptr, false);
}

void SetControlFont(Hwnd h, FontHandle font) {
  detail::ControlData* d = detail::ControlOf(h);
  VERIFY(d != nullptr);
  if (d == nullptr || d->font == font) return;
  d->font = font;
  InvalidateRect(h, nullptr, false);
}

}  // namespace plat
