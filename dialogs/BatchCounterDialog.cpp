#include "dialogs/BatchCounterDialog.h"

#include <cstdio>

#include "dialogs/SetupQuestion.h"
#include "i18n/Language.h"
#include "i18n/LineText.h"
#include "i18n/StringIds.h"
#include "link/DryerStatus.h"
#include "link/SettingRequest.h"
#include "platform/Dialog.h"

namespace dialogs {

void OpenBatchCounterDialog(plat::Hwnd parent) {
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  char16_t label[i18n::kStringDestUnits] = {};
  i18n::GetString(i18n::kStringBatchesCounted, label);
  char number[16];
  std::snprintf(number, sizeof number, " %u", static_cast<unsigned>(lnk::StatusU16HighFirst(s, lnk::kStatusBatchCounter)));
  char16_t detail[i18n::kStringDestUnits + 16];
  i18n::LineText(detail, sizeof detail / sizeof detail[0]).Add(label).AddLatin1(number);

  const SetupQuestion question{
      .templateId = kBatchCounterDialogId,
      .caption = "CLEAR BATCH COUNTER - 44",
      .captionId = i18n::kStringBatchCounterCaption,
      .textId = i18n::kStringBatchCounterQuestion,
      .detail = detail,
      .helpFile = "BatchCounterHelp.txt",
      .helpCaptionId = i18n::kStringBatchCounterHelpCaption,
  };
  if (AskSetupQuestion(parent, question) != plat::IdYes) return;
  constexpr uint8_t kCleared[2] = {0, 0};
  lnk::RequestSetting(lnk::CommandRow::BatchCounter, kCleared);
}

}  // namespace dialogs
