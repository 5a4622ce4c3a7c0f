#include "dialogs/MoistureControlHelp.h"

#include "i18n/Language.h"
#include "i18n/Resources.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"

namespace dialogs {
namespace {

constexpr int kRaise = 20;
}  // namespace

void PlaceAboveParentCentre(plat::Hwnd dialog) {
  plat::CenterOverParent(dialog);
  const plat::Rect r = plat::GetChildRect(dialog);
  const int up = r.top < kRaise ? r.top : kRaise;
  plat::MoveWindow(dialog, r.Offset(0, -up));
}

}  // namespace dialogs
