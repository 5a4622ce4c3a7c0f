#include "dialogs/DialogText.h"

#include "i18n/Language.h"
#include "i18n/Resources.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"

namespace dialogs {

void SetString(plat::Hwnd dialog, int id, int stringId) {
  char16_t text[i18n::kStringDestUnits] = {};
  i18n::GetString(stringId, text);
  if (id == 0)
    plat::SetWindowText(dialog, text);
  else
    plat::SetDlgItemText(dialog, id, text);
}

void SetStringIfPresent(plat::Hwnd dialog, int id, int stringId) {
  char16_t text[i18n::kStringDestUnits] = {};
  i18n::GetString(stringId, text);
  if (text[0] == 0) return;
  if (id == 0)
    plat::SetWindowText(dialog, text);
  else
    plat::SetDlgItemText(dialog, id, text);
}

void ShowHelpFile(plat::Hwnd owner, const char* fileName, int captionId) {
  constexpr size_t kHelpUnits = 4096;
  constexpr char16_t kByteOrderMark = 0xFEFF;
  char16_t helpText[kHelpUnits];
  i18n::ReadHelpFile(fileName, helpText, kHelpUnits);
  const char16_t* text = helpText[0] == kByteOrderMark ? helpText + 1 : helpText;
  char16_t caption[i18n::kStringDestUnits] = {};
  i18n::GetString(captionId, caption);
  plat::MessageBox(owner, text, caption, plat::MbButtons::Ok, plat::MbIcon::Information);
}

}  // namespace dialogs
