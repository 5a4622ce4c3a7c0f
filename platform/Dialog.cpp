#include "platform/Dialog.h"

#include "platform/WindowInternal.h"

namespace plat {
namespace {

constexpr const char* kDialogClass = "DIALOG";
// A touch point outside every window: ends a touch without a click.
constexpr LParam kNowhere = PointParam(-30000, -30000);

struct OpenDialog {
  bool used = false;
  Hwnd window = kNoWindow;
  Hwnd parent = kNoWindow;
  DialogProc proc = nullptr;
  int templateId = 0;
  bool ended = false;
  int result = 0;
};

OpenDialog g_dialogs[kMaxOpenDialogs];

OpenDialog* RecordOf(Hwnd h) {
  if (h == kNoWindow) return nullptr;
  for (auto& d : g_dialogs) {
    if (d.used && d.window == h) return &d;
  }
  return nullptr;
}

LResult DialogWindowProc(Hwnd h, Msg msg, WParam wParam, LParam lParam) {
  OpenDialog* d = RecordOf(h);
  if (d != nullptr && d->proc != nullptr && msg != Msg::Create) {
    if (d->proc(h, msg, wParam, lParam)) return 1;
  }
  switch (msg) {
    case Msg::Close:
      EndDialog(h, IdCancel);
      return 0;
    default:
      return DefWindowProc(h, msg, wParam, lParam);
  }
}

// Shifts a screen rectangle the least distance that puts it wholly on the screen; one larger
// than the screen keeps its top-left corner on it.
Rect InsideScreen(const Rect& r) {
  Rect placed = r;
  if (placed.right > kScreenWidth) placed = placed.Offset(kScreenWidth - placed.right, 0);
  if (placed.bottom > kScreenHeight) placed = placed.Offset(0, kScreenHeight - placed.bottom);
  if (placed.left < 0) placed = placed.Offset(-placed.left, 0);
  if (placed.top < 0) placed = placed.Offset(0, -placed.top);
  return placed;
}

Rect PlaceOverParent(Hwnd parent, const Rect& r) {
  Point o{0, 0};
  if (parent != kNoWindow) o = ClientToScreen(parent, Point{0, 0});
  return InsideScreen(r.Offset(o.x, o.y));
}

}  // namespace

namespace detail {
void ResetDialogs() {
  for (auto& d : g_dialogs) d = OpenDialog{};
}
}  // namespace detail

namespace {

int RunDialog(Hwnd parent, const DialogTemplate& tmpl, DialogProc proc, LParam param) {
  OpenDialog* rec = nullptr;
  for (auto& d : g_dialogs) {
    if (!d.used) {
      rec = &d;
      break;
    }
  }
  if (rec == nullptr) return -1;
  RegisterClass(WindowClass{.name = kDialogClass, .proc = DialogWindowProc,
                            .background = kDialogBackground});
  *rec = OpenDialog{};
  rec->used = true;
  rec->parent = IsWindow(parent) ? parent : kNoWindow;
  rec->proc = proc;
  rec->templateId = tmpl.id;
  WindowFlags flags = WindowFlag::Border | (tmpl.caption != nullptr ? WindowFlag::Caption : 0);
  Hwnd dlg = CreateWindow(WindowDesc{.className = kDialogClass, .title = tmpl.caption,
                                     .rect = PlaceOverParent(rec->parent, tmpl.rect),
                                     .flags = flags});
  if (dlg == kNoWindow) {
    *rec = OpenDialog{};
    return -1;
  }
  rec->window = dlg;
  detail::SetOwner(dlg, rec->parent != kNoWindow ? rec->parent : ActiveTopLevel());
  for (int i = 0; i < tmpl.count; ++i) {
    const DialogControl& c = tmpl.controls[i];
    CreateControl(dlg, c.kind, c.id, c.rect, c.text != nullptr ? c.text : "", c.style);
  }
  // Opening a modal dialog ends a touch in progress elsewhere, as a capture release would.
  Hwnd captured = detail::CapturedWindow();
  if (captured != kNoWindow && GetTopLevel(captured) != dlg) {
    SendMessage(captured, Msg::TouchUp, 0, kNowhere);
    detail::ReleaseCapture();
  }
  Hwnd owner = GetTopLevel(rec->parent);
  bool ownerWasEnabled = owner != kNoWindow && EnableWindow(owner, false);
  SendMessage(dlg, Msg::InitDialog, 0, param);
  // The procedure may have placed itself (centred, beside a field); wherever that was, an
  // operator must be able to touch every part of it.
  MoveInsideScreen(dlg);
  bool quit = false;
  if (IsWindow(dlg) && !rec->ended) {
    ShowWindow(dlg, true);
    Message m;
    while (!rec->ended && IsWindow(dlg)) {
      detail::NextResult r = detail::NextMessage(m, true);
      if (r == detail::NextResult::Quit) {
        quit = true;
        detail::RepostQuit(static_cast<int>(m.wParam));
        break;
      }
      DispatchMessage(m);
    }
  }
  int result = quit ? -1 : rec->result;
  if (ownerWasEnabled) EnableWindow(owner, true);
  DestroyWindow(dlg);
  *rec = OpenDialog{};
  return result;
}

}  // namespace

int DialogBox(Hwnd parent, const DialogTemplate& tmpl, DialogProc proc, LParam param) {
  bool painting = detail::LeavePainting();
  int result = RunDialog(parent, tmpl, proc, param);
  detail::ResumePainting(painting);
  return result;
}

bool EndDialog(Hwnd dialog, int result) {
  OpenDialog* d = RecordOf(dialog);
  if (d == nullptr) return false;
  d->ended = true;
  d->result = result;
  return true;
}

int DialogTemplateId(Hwnd dialog) {
  OpenDialog* d = RecordOf(dialog);
  return d == nullptr ? 0 : d->templateId;
}

Hwnd FindOpenDialog(int templateId) {
  for (int i = kMaxOpenDialogs - 1; i >= 0; --i) {
    const OpenDialog& d = g_dialogs[i];
    if (d.used && !d.ended && d.templateId == templateId && IsWindow(d.window)) return d.window;
  }
  return kNoWindow;
}

void CenterOverParent(Hwnd window) {
  if (!IsWindow(window)) return;
  Rect me = GetWindowRect(window);
  Hwnd parent = GetParent(window);
  bool topLevel = parent == kNoWindow;
  if (topLevel) {
    OpenDialog* d = RecordOf(window);
    if (d != nullptr) parent = d->parent;
  }
  Rect area{0, 0, kScreenWidth, kScreenHeight};
  if (IsWindow(parent)) {
    Point o = ClientToScreen(parent, Point{0, 0});
    area = GetClientRect(parent).Offset(o.x, o.y);
  }
  int x = area.left + (area.Width() - me.Width()) / 2;
  int y = area.top + (area.Height() - me.Height()) / 2;
  PlaceOnScreen(window, RectXywh(x, y, me.Width(), me.Height()));
}

void PlaceOnScreen(Hwnd window, const Rect& screenRect) {
  if (!IsWindow(window)) return;
  Rect placed = InsideScreen(screenRect);
  Hwnd parent = GetParent(window);
  if (parent != kNoWindow) {
    Point o = ClientToScreen(parent, Point{0, 0});
    placed = placed.Offset(-o.x, -o.y);
  }
  MoveWindow(window, placed);
}

void MoveInsideScreen(Hwnd window) {
  if (IsWindow(window)) PlaceOnScreen(window, GetWindowRect(window));
}

bool SetDlgItemText(Hwnd dialog, int id, TextRef text) {
  Hwnd item = GetDlgItem(dialog, id);
  if (item == kNoWindow) return false;
  SetWindowText(item, text);
  return true;
}

bool CheckDlgButton(Hwnd dialog, int id, bool checked) {
  Hwnd item = GetDlgItem(dialog, id);
  if (item == kNoWindow) return false;
  SetButtonCheck(item, checked);
  return true;
}

bool IsDlgButtonChecked(Hwnd dialog, int id) { return GetButtonCheck(GetDlgItem(dialog, id)); }

bool EnableDlgItem(Hwnd dialog, int id, bool enabled) {
  Hwnd item = GetDlgItem(dialog, id);
  if (item == kNoWindow) return false;
  EnableWindow(item, enabled);
  return true;
}

bool ShowDlgItem(Hwnd dialog, int id, bool visible) {
  Hwnd item = GetDlgItem(dialog, id);
  if (item == kNoWindow) return false;
  ShowWindow(item, visible);
  return true;
}

bool IsDlgButtonHeld(Hwnd dialog, int id) { return IsButtonHeld(GetDlgItem(dialog, id)); }

}  // namespace plat
