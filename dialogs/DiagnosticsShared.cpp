#include "dialogs/DiagnosticsShared.h"

#include "i18n/Language.h"
#include "i18n/Resources.h"
#include "platform/MessageBox.h"

namespace dialogs {
namespace {

// Help texts are short; a longer file is cut, never overrun.
constexpr size_t kHelpUnits = 4096;
constexpr char16_t kByteOrderMark = 0xFEFF;

}  // namespace

void ShowDiagnosticsHelp(plat::Hwnd owner, const char* fileName, int captionId) {
  char16_t helpText[kHelpUnits];
  i18n::ReadHelpFile(fileName, helpText, kHelpUnits);
  const char16_t* text = helpText[0] == kByteOrderMark ? helpText + 1 : helpText;
  char16_t caption[i18n::kStringDestUnits] = {};
  i18n::GetString(captionId, caption);
  plat::MessageBox(owner, text, caption, plat::MbButtons::Ok, plat::MbIcon::Information);
}

}  // namespace dialogs
