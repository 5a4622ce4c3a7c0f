#include "dialogs/CycledSamplerDialog.h"

#include "dialogs/SetupQuestion.h"
#include "i18n/Language.h"
#include "i18n/StringIds.h"
#include "link/SettingRequest.h"
#include "platform/Dialog.h"

namespace dialogs {

bool ConfirmCycledSampler(plat::Hwnd parent) {
  char16_t note[i18n::kStringDestUnits] = {};
  i18n::GetString(i18n::kStringCycledSamplerNote, note);
  const SetupQuestion question{
      .templateId = kCycledSamplerDialogId,
      .caption = "CYCLED MOISTURE SAMPLER - 45",
      .captionId = i18n::kStringCycledSamplerCaption,
      .textId = i18n::kStringCycledSamplerQuestion,
      .detail = note,
      .helpFile = "CycledSamplerHelp.txt",
      .helpCaptionId = i18n::kStringCycledSamplerHelpCaption,
  };
  return AskSetupQuestion(parent, question) == plat::IdYes;
}

void OpenCycledSamplerDialog(plat::Hwnd parent) {
  if (!ConfirmCycledSampler(parent)) return;
  // The other bits of 1:37 are the controller's as it reports them, unless a change of them
  // is still on its way.
  lnk::RequestBits(lnk::kStatusHardwareOption137, lnk::kHardwareOptionCycledSampler, 0, lnk::CommandRow::HardwareOption137);
}

}  // namespace dialogs
