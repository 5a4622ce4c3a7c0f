#include "platform/Controls.h"

#include "platform/ControlsInternal.h"
#include "platform/Font.h"

// Statics, read-only edit fields and group boxes: text on a face, nothing to touch.
namespace plat::detail {

void PaintTextControl(const ControlData& d, const ControlLook& look, Canvas& c) {
  const Rect& r = look.rect;
  const char16_t* text = look.text;
  switch (d.kind) {
    case ControlKind::Static: {
      c.FillRect(r, look.back);
      c.SetTextColor(look.fore);
      Rect inner = r;
      if (d.style & ControlStyle::Border) {
        c.FrameRect(r, kFrameColor, 1);
        inner = Rect{r.left + 3, r.top + 1, r.right - 3, r.bottom - 1};
      }
      c.DrawText(inner, text, AlignFlags(d.style) | TextFlag::WordBreak);
      break;
    }
    case ControlKind::Edit: {
      c.FillRect(r, d.customColors ? d.back : (look.enabled ? kWhite : kFaceColor));
      c.FrameRect(r, kFrameColor, 2);
      c.SetTextColor(look.fore);
      Rect inner{r.left + 5, r.top + 2, r.right - 5, r.bottom - 2};
      TextFlags flags = AlignFlags(d.style) |
                        ((d.style & ControlStyle::Multiline) ? TextFlag::WordBreak
                                                             : TextFlag::VCenter | TextFlag::SingleLine);
      c.DrawText(inner, text, flags);
      break;
    }
    default: {  // group box
      int lh = LineHeight(FontOf(d));
      int mid = r.top + lh / 2;
      c.FrameRect(Rect{r.left, mid, r.right, r.bottom}, look.enabled ? kFrameColor : kDisabledTextColor, 2);
      if (text[0] != 0) {
        int w = TextWidth(FontOf(d), text);
        Rect title{r.left + 8, r.top, r.left + 16 + w, r.top + lh};
        c.FillRect(title, look.back);
        c.SetTextColor(look.fore);
        c.DrawText(Rect{title.left + 4, title.top, title.right, title.bottom}, text,
                   TextFlag::SingleLine);
      }
      break;
    }
  }
}

}  // namespace plat::detail
