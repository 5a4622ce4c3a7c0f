#include "dialogs/DipSwitchDialog.h"

#include "platform/Bitmap.h"
#include "platform/Dialog.h"
#include "platform/Pictures.h"

namespace dialogs {
namespace {

using plat::Rgb;
using plat::RectXywh;

constexpr int kWidth = 470;
constexpr int kHeight = 300;
constexpr int kPictureX = (kWidth - kDipSwitchPictureWidth) / 2;
constexpr int kPictureY = 112;
constexpr int kSwitchCount = 8;
constexpr int kResetSwitch = 0;  // the leftmost one, shown pushed to the right

constexpr plat::DialogControl kControls[] = {
    {.kind = plat::ControlKind::Static, .id = kDipSwitchLines[0], .rect = RectXywh(10, 8, kWidth - 20, 22),
     .text = "Located on the back of the Control Switch Input/Output Board", .style = plat::ControlStyle::Center},
    {.kind = plat::ControlKind::Static, .id = kDipSwitchLines[1], .rect = RectXywh(10, 32, kWidth - 20, 22),
     .text = "there is a dipswitch labeled \"RESET DEFAULTS\" which needs to be",
     .style = plat::ControlStyle::Center},
    {.kind = plat::ControlKind::Static, .id = kDipSwitchLines[2], .rect = RectXywh(10, 56, kWidth - 20, 22),
     .text = "switched back to the left (red light should be off).", .style = plat::ControlStyle::Center},
    {.kind = plat::ControlKind::Static, .id = kDipSwitchLines[3], .rect = RectXywh(10, 80, kWidth - 20, 22),
     .text = "Below is a picture of the dipswitch.", .style = plat::ControlStyle::Center},
    {.kind = plat::ControlKind::PushButton, .id = kDipSwitchExit,
     .rect = RectXywh((kWidth - 120) / 2, kHeight - plat::kCaptionHeight - 52, 120, 40), .text = "EXIT",
     .style = plat::ControlStyle::Center},
};

constexpr plat::DialogTemplate kTemplate{
    .id = kDipSwitchDialogId,
    .caption = "Please turn off DEFAULTS dipswitch! - 33",
    .rect = RectXywh(0, 0, kWidth, kHeight),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

// A red switch block with eight white levers; the RESET DEFAULTS lever is drawn on, with its
// red light lit.
void DrawDipSwitch(plat::Canvas& c) {
  const plat::Rect all{0, 0, kDipSwitchPictureWidth, kDipSwitchPictureHeight};
  c.FillRect(all, Rgb(0, 90, 40));
  const plat::Rect block = RectXywh(20, 15, 160, 60);
  c.FillRect(block, Rgb(200, 20, 20));
  c.FrameRect(block, Rgb(0, 0, 0));
  for (int i = 0; i < kSwitchCount; ++i) {
    const int x = block.left + 8 + i * 19;
    const plat::Rect slot = RectXywh(x, block.top + 10, 12, 40);
    c.FillRect(slot, Rgb(60, 0, 0));
    const int leverY = i == kResetSwitch ? slot.top + 2 : slot.bottom - 16;
    c.FillRect(RectXywh(x + 1, leverY, 10, 14), Rgb(255, 255, 255));
  }
  c.FillEllipse(RectXywh(200, 30, 22, 22), Rgb(255, 40, 40));
  c.FrameEllipse(RectXywh(200, 30, 22, 22), Rgb(0, 0, 0));
}

constexpr plat::PictureEntry kPictures[] = {
    {.resourceNumber = kDipSwitchPicture, .width = kDipSwitchPictureWidth,
     .height = kDipSwitchPictureHeight, .draw = DrawDipSwitch},
};

bool DipSwitchProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::CenterOverParent(dialog);
      return true;
    case plat::Msg::Paint: {
      const plat::Bitmap* picture = plat::GetPicture(kDipSwitchPicture);
      if (picture != nullptr) plat::PaintFrom(l).canvas->Blit(kPictureX, kPictureY, picture->View());
      return false;
    }
    case plat::Msg::Command:
      if (plat::CommandId(w) == kDipSwitchExit) {
        plat::EndDialog(dialog, kDipSwitchExit);
        return true;
      }
      return false;
    default:
      return false;
  }
}

}  // namespace

void RegisterDipSwitchPicture() { plat::RegisterPictures(kPictures, 1); }

int ShowDipSwitchDialog(plat::Hwnd parent) {
  RegisterDipSwitchPicture();
  return plat::DialogBox(parent, kTemplate, DipSwitchProc, 0);
}

}  // namespace dialogs
