#include "platform/MessageBox.h"

#include "platform/Font.h"

namespace plat {
namespace {

constexpr int kMargin = 16;
constexpr int kIconSize = 48;
constexpr int kButtonWidth = 104;
constexpr int kButtonHeight = 42;
constexpr int kButtonGap = 12;
constexpr int kMinWidth = 260;
constexpr int kMaxWidth = 620;
constexpr int kMaxHeight = 470;
// A long text (a help file shown in a box) steps down through these until it fits.
constexpr int kTextHeights[] = {17, 15, 13, 11};
constexpr int kMaxButtons = 3;

struct ButtonSpec {
  int id;
  const char* text;
};

struct ButtonSet {
  int count;
  ButtonSpec buttons[kMaxButtons];
  int closeAnswer;  // the answer when the box is closed without a button
};

constexpr ButtonSet kButtonSets[] = {
    {.count = 1, .buttons = {{IdOk, "OK"}}, .closeAnswer = IdOk},
    {.count = 2, .buttons = {{IdOk, "OK"}, {IdCancel, "Cancel"}}, .closeAnswer = IdCancel},
    {.count = 2, .buttons = {{IdYes, "Yes"}, {IdNo, "No"}}, .closeAnswer = IdNo},
    {.count = 3, .buttons = {{IdYes, "Yes"}, {IdNo, "No"}, {IdCancel, "Cancel"}},
     .closeAnswer = IdCancel},
    {.count = 2, .buttons = {{IdRetry, "Retry"}, {IdCancel, "Cancel"}}, .closeAnswer = IdCancel},
};

struct BoxState {
  TextRef text;
  TextRef caption;
  MbIcon icon = MbIcon::None;
  FontHandle font;
  Rect textRect;  // client coordinates
  Rect iconRect;
  int closeAnswer = IdCancel;
};

FontHandle TextFont(int height) { return CreateFont(kFaceTahoma, height, FontWeight::Normal); }
FontHandle IconFont() { return CreateFont(kFaceTahoma, 38, FontWeight::Bold); }

size_t LengthOf(TextRef t) {
  size_t n = 0;
  if (t.wide != nullptr) {
    while (t.wide[n] != 0) ++n;
  } else if (t.narrow != nullptr) {
    while (t.narrow[n] != 0) ++n;
  }
  return n;
}

TextExtent Measure(FontHandle f, TextRef t, int maxWidth) {
  if (t.wide != nullptr) return MeasureText(f, t.wide, LengthOf(t), maxWidth, true);
  if (t.narrow != nullptr) return MeasureText(f, t.narrow, LengthOf(t), maxWidth, true);
  return TextExtent{};
}

void DrawIcon(Canvas& c, const Rect& r, MbIcon icon) {
  c.SetFont(IconFont());
  c.SetBackgroundMode(BackgroundMode::Transparent);
  constexpr TextFlags kMiddle = TextFlag::Center | TextFlag::VCenter | TextFlag::SingleLine;
  switch (icon) {
    case MbIcon::None:
      return;
    case MbIcon::Question:
    case MbIcon::Information:
      c.FillEllipse(r, Rgb(0, 64, 200));
      c.FrameEllipse(r, Rgb(0, 0, 0), 2);
      c.SetTextColor(Rgb(255, 255, 255));
      c.DrawText(r, icon == MbIcon::Question ? "?" : "i", kMiddle);
      return;
    case MbIcon::Exclamation: {
      Point p[3] = {{r.left + r.Width() / 2, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
      c.FillPolygon(p, 3, Rgb(255, 204, 0));
      Point frame[4] = {p[0], p[1], p[2], p[0]};
      c.DrawPolyline(frame, 4, Rgb(0, 0, 0), 2);
      c.SetTextColor(Rgb(0, 0, 0));
      c.DrawText(Rect{r.left, r.top + 8, r.right, r.bottom}, "!", kMiddle);
      return;
    }
    case MbIcon::Stop: {
      c.FillEllipse(r, Rgb(200, 0, 0));
      c.FrameEllipse(r, Rgb(0, 0, 0), 2);
      int d = r.Width() / 4;
      c.DrawLine(r.left + d, r.top + d, r.right - d, r.bottom - d, Rgb(255, 255, 255), 5);
      c.DrawLine(r.right - d, r.top + d, r.left + d, r.bottom - d, Rgb(255, 255, 255), 5);
      return;
    }
  }
}

bool BoxProc(Hwnd dlg, Msg msg, WParam wParam, LParam lParam) {
  BoxState* box = static_cast<BoxState*>(GetWindowData(dlg));
  switch (msg) {
    case Msg::InitDialog:
      SetWindowData(dlg, reinterpret_cast<void*>(lParam));
      box = reinterpret_cast<BoxState*>(lParam);
      SetWindowText(dlg, box->caption);
      return true;
    case Msg::Paint: {
      if (box == nullptr) return false;
      PaintContext& ctx = PaintFrom(lParam);
      Canvas& c = *ctx.canvas;
      if (box->icon != MbIcon::None) DrawIcon(c, box->iconRect, box->icon);
      c.SetFont(box->font);
      c.SetTextColor(kTextColor);
      c.SetBackgroundMode(BackgroundMode::Transparent);
      if (box->text.wide != nullptr) {
        c.DrawText(box->textRect, box->text.wide, TextFlag::WordBreak | TextFlag::VCenter);
      } else if (box->text.narrow != nullptr) {
        c.DrawText(box->textRect, box->text.narrow, TextFlag::WordBreak | TextFlag::VCenter);
      }
      return true;
    }
    case Msg::Command: {
      int id = CommandId(wParam);
      if (id >= IdOk && id <= IdNo) EndDialog(dlg, id);
      return true;
    }
    case Msg::Close:
      EndDialog(dlg, box != nullptr ? box->closeAnswer : IdCancel);
      return true;
    default:
      return false;
  }
}

}  // namespace

int MessageBox(Hwnd owner, TextRef text, TextRef caption, MbButtons buttons, MbIcon icon) {
  const ButtonSet& set = kButtonSets[static_cast<int>(buttons)];
  BoxState box;
  box.text = text;
  box.caption = caption;
  box.icon = icon;
  box.closeAnswer = set.closeAnswer;

  int iconSpace = icon == MbIcon::None ? 0 : kIconSize + kMargin;
  int maxText = kMaxWidth - 2 * kMargin - iconSpace;
  constexpr int kMaxBody = kMaxHeight - kCaptionHeight - 2 - 3 * kMargin - kButtonHeight;
  TextExtent extent;
  for (int height : kTextHeights) {
    box.font = TextFont(height);
    extent = Measure(box.font, text, maxText);
    if (extent.height <= kMaxBody) break;
  }
  int buttonsWidth = set.count * kButtonWidth + (set.count - 1) * kButtonGap;
  int captionWidth = 0;
  if (caption.wide != nullptr) captionWidth = TextWidth(SystemFont(), caption.wide);
  if (caption.narrow != nullptr) captionWidth = TextWidth(SystemFont(), caption.narrow);
  int width = extent.width + iconSpace + 2 * kMargin;
  if (width < buttonsWidth + 2 * kMargin) width = buttonsWidth + 2 * kMargin;
  if (width < captionWidth + 2 * kMargin) width = captionWidth + 2 * kMargin;
  if (width < kMinWidth) width = kMinWidth;
  if (width > kMaxWidth) width = kMaxWidth;
  int bodyHeight = extent.height > kIconSize ? extent.height : kIconSize;
  int clientHeight = kMargin + bodyHeight + kMargin + kButtonHeight + kMargin;
  int height = clientHeight + kCaptionHeight + 2;
  if (height > kMaxHeight) {
    height = kMaxHeight;
    clientHeight = height - kCaptionHeight - 2;
    bodyHeight = clientHeight - 3 * kMargin - kButtonHeight;
  }
  int clientWidth = width - 2;
  box.iconRect = RectXywh(kMargin, kMargin + (bodyHeight - kIconSize) / 2, kIconSize, kIconSize);
  box.textRect = Rect{kMargin + iconSpace, kMargin, clientWidth - kMargin, kMargin + bodyHeight};

  DialogControl controls[kMaxButtons];
  int x = (clientWidth - buttonsWidth) / 2;
  int y = clientHeight - kMargin - kButtonHeight;
  for (int i = 0; i < set.count; ++i) {
    controls[i] = DialogControl{.kind = ControlKind::PushButton, .id = set.buttons[i].id,
                                .rect = RectXywh(x, y, kButtonWidth, kButtonHeight),
                                .text = set.buttons[i].text};
    x += kButtonWidth + kButtonGap;
  }
  // Centred on the window that asks (the screen when none), then wholly on the screen; the
  // template is placed relative to the owner's client area.
  if (!IsWindow(owner)) owner = ActiveTopLevel();
  Point origin = owner != kNoWindow ? ClientToScreen(owner, Point{0, 0}) : Point{0, 0};
  Rect over = owner != kNoWindow ? GetWindowRect(GetTopLevel(owner))
                                 : Rect{0, 0, kScreenWidth, kScreenHeight};
  Rect onScreen = RectXywh(over.left + (over.Width() - width) / 2,
                           over.top + (over.Height() - height) / 2, width, height);
  DialogTemplate tmpl{.id = kMessageBoxTemplateId, .caption = "",
                      .rect = onScreen.Offset(-origin.x, -origin.y),
                      .controls = controls, .count = set.count};
  int answer = DialogBox(owner, tmpl, BoxProc, reinterpret_cast<LParam>(&box));
  return answer < 0 ? IdCancel : answer;
}

}  // namespace plat
