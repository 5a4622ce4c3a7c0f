#include "platform/Controls.h"

#include "platform/ControlsInternal.h"
#include "platform/Verify.h"
#include "platform/WindowInternal.h"

// Push buttons, owner-drawn buttons, check boxes, radio buttons and check buttons.
namespace plat {
namespace detail {
namespace {

constexpr int kBoxSize = 22;  // check box square and radio circle

struct ButtonData {
  bool checked = false;
  bool pressed = false;     // the finger is on it
  bool fingerDown = false;  // the touch began on it
};

ButtonData g_buttons[kMaxWindows];

ButtonData* ButtonOf(Hwnd h) {
  if (ControlOf(h) == nullptr) return nullptr;
  return &g_buttons[SlotOf(h)];
}

void DrawTextRef(Canvas& c, const Rect& r, TextRef text, TextFlags flags) {
  if (text.wide != nullptr) {
    c.DrawText(r, text.wide, flags);
  } else if (text.narrow != nullptr) {
    c.DrawText(r, text.narrow, flags);
  }
}

void PaintCheckMark(Canvas& c, const Rect& box) {
  Point p[3] = {{box.left + 4, box.top + box.Height() / 2},
                {box.left + box.Width() / 2 - 1, box.bottom - 5},
                {box.right - 4, box.top + 4}};
  c.DrawPolyline(p, 3, kTextColor, 3);
}

// Radio buttons form groups among their siblings in z-order (creation order): a group
// starts at a radio with the Group style, or after any control that is not a radio.
void CheckInGroup(Hwnd h) {
  Hwnd parent = GetParent(h);
  Hwnd group[kMaxWindows];
  int count = 0;
  bool found = false;
  for (Hwnd c = FirstChild(parent); c != kNoWindow; c = NextSibling(c)) {
    ControlData* cd = ControlOf(c);
    bool radio = cd != nullptr && cd->kind == ControlKind::RadioButton;
    if (!radio || (cd->style & ControlStyle::Group)) {
      if (found) break;
      count = 0;
      if (!radio) continue;
    }
    group[count++] = c;
    if (c == h) found = true;
  }
  for (int i = 0; i < count; ++i) SetButtonCheck(group[i], group[i] == h);
}

void Click(Hwnd h, const ControlData& d, const ButtonData& b) {
  bool autoCheck = !(d.style & ControlStyle::NoAuto);
  if (autoCheck && (d.kind == ControlKind::CheckBox || d.kind == ControlKind::CheckButton)) {
    SetButtonCheck(h, !b.checked);
  } else if (autoCheck && d.kind == ControlKind::RadioButton) {
    CheckInGroup(h);
  }
  NotifyParent(h, Notify::Clicked);
}

}  // namespace

bool IsButtonKind(ControlKind k) {
  return k == ControlKind::PushButton || k == ControlKind::OwnerDrawButton ||
         k == ControlKind::CheckBox || k == ControlKind::RadioButton || k == ControlKind::CheckButton;
}

void InitButton(int slot, uint32_t style) {
  g_buttons[slot] = ButtonData{};
  g_buttons[slot].checked = (style & ControlStyle::Checked) != 0;
}

void ForgetButton(int slot) { g_buttons[slot] = ButtonData{}; }

void PaintButton(Hwnd h, const ControlData& d, const ControlLook& look, Canvas& c) {
  const ButtonData& b = g_buttons[SlotOf(h)];
  const Rect& r = look.rect;
  bool enabled = look.enabled;
  switch (d.kind) {
    case ControlKind::PushButton:
      DrawButtonFace(c, r, look.text, b.pressed, enabled);
      break;
    case ControlKind::CheckButton:
      DrawButtonFace(c, r, look.text, b.pressed || b.checked, enabled);
      break;
    case ControlKind::OwnerDrawButton: {
      DrawItemInfo info;
      info.control = h;
      info.controlId = GetDlgCtrlID(h);
      info.canvas = &c;
      info.rect = r;
      info.state = (b.pressed ? ItemState::Pressed : 0) | (enabled ? 0 : ItemState::Disabled) |
                   (b.checked ? ItemState::Checked : 0);
      CanvasState saved = c.SaveState();
      LResult drawn = SendMessage(GetParent(h), Msg::DrawItem,
                                  static_cast<WParam>(info.controlId),
                                  reinterpret_cast<LParam>(&info));
      c.RestoreState(saved);
      if (drawn == 0) DrawButtonFace(c, r, look.text, b.pressed, enabled);
      break;
    }
    default: {  // check boxes and radio buttons
      c.FillRect(r, look.back);
      int top = r.top + (r.Height() - kBoxSize) / 2;
      Rect box{r.left + 2, top, r.left + 2 + kBoxSize, top + kBoxSize};
      Color frame = enabled ? kFrameColor : kDisabledTextColor;
      if (d.kind == ControlKind::CheckBox) {
        c.FillRect(box, b.pressed ? kFaceColor : kWhite);
        c.FrameRect(box, frame, 2);
        if (b.checked) PaintCheckMark(c, box);
      } else {
        c.FillEllipse(box, b.pressed ? kFaceColor : kWhite);
        c.FrameEllipse(box, frame, 2);
        if (b.checked) {
          c.FillEllipse(Rect{box.left + 6, box.top + 6, box.right - 6, box.bottom - 6}, frame);
        }
      }
      c.SetTextColor(look.fore);
      Rect label{box.right + 6, r.top, r.right, r.bottom};
      c.DrawText(label, look.text, TextFlag::VCenter | TextFlag::WordBreak);
      break;
    }
  }
}

void ButtonTouch(Hwnd h, const ControlData& d, Msg msg, Point p) {
  ButtonData& b = g_buttons[SlotOf(h)];
  Rect r = GetClientRect(h);
  bool inside = r.Contains(p.x, p.y);
  switch (msg) {
    case Msg::TouchDown:
      if (!IsWindowEnabled(h)) return;
      b.fingerDown = true;
      b.pressed = true;
      InvalidateRect(h, nullptr, false);
      break;
    case Msg::TouchMove:
      if (b.fingerDown && b.pressed != inside) {
        b.pressed = inside;
        InvalidateRect(h, nullptr, false);
      }
      break;
    case Msg::TouchUp: {
      if (!b.fingerDown) return;
      bool click = b.pressed && inside;
      b.fingerDown = false;
      b.pressed = false;
      InvalidateRect(h, nullptr, false);
      if (click) Click(h, d, b);
      break;
    }
    default:
      break;
  }
}

}  // namespace detail

void SetButtonCheck(Hwnd h, bool checked) {
  detail::VerifyNotPainting("SetButtonCheck");
  detail::ButtonData* b = detail::ButtonOf(h);
  VERIFY(b != nullptr);
  if (b == nullptr || b->checked == checked) return;
  b->checked = checked;
  InvalidateRect(h, nullptr, false);
}

bool GetButtonCheck(Hwnd h) {
  detail::ButtonData* b = detail::ButtonOf(h);
  return b != nullptr && b->checked;
}

bool IsButtonHeld(Hwnd h) {
  detail::ButtonData* b = detail::ButtonOf(h);
  return b != nullptr && b->pressed;
}

void DrawButtonFace(Canvas& canvas, const Rect& r, TextRef text, bool pressed, bool enabled) {
  canvas.FillRect(r, pressed ? kPressedFaceColor : kFaceColor);
  canvas.FrameRect(r, enabled ? kFrameColor : kDisabledTextColor, 2);
  canvas.SetTextColor(pressed ? detail::kWhite : (enabled ? kTextColor : kDisabledTextColor));
  canvas.SetBackgroundMode(BackgroundMode::Transparent);
  Rect inner{r.left + 4, r.top + 2, r.right - 4, r.bottom - 2};
  detail::DrawTextRef(canvas, inner, text, TextFlag::Center | TextFlag::VCenter | TextFlag::WordBreak);
}

}  // namespace plat
