#include "dialogs/MoistureControlHelp.h"

#include "i18n/Language.h"
#include "i18n/Resources.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"

namespace dialogs {
namespace {

constexpr int kRaise = 20;
// Help texts are short; a longer file is cut, never overrun.
constexpr size_t kHelpUnits = 4096;

}  // namespace

void PlaceAboveParentCentre(plat::Hwnd dialog) {
  plat::CenterOverParent(dialog);
  const plat::Rect r = plat::GetChildRect(dialog);
  const int up = r.top < kRaise ? r.top : kRaise;
  plat::MoveWindow(dialog, r.Offset(0, -up));
}

void ShowHelpFile(plat::Hwnd owner, const char* fileName, int captionId) {
  char16_t helpText[kHelpUnits];
  i18n::ReadHelpFile(fileName, helpText, kHelpUnits);
  const char16_t* text = helpText[0] == 0xFEFF ? helpText + 1 : helpText;
  char16_t caption[i18n::kStringDestUnits] = {};
  i18n::GetString(captionId, caption);
  plat::MessageBox(owner, text, caption, plat::MbButtons::Ok, plat::MbIcon::Information);
}

}  // namespace dialogs
