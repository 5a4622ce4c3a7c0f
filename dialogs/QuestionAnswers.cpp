#include "dialogs/QuestionAnswers.h"

#include "dialogs/DialogText.h"
#include "i18n/StringIds.h"
#include "platform/Dialog.h"

namespace dialogs {

void SetAnswerTexts(plat::Hwnd question) {
  SetString(question, plat::IdYes, i18n::kStringYes);
  SetString(question, plat::IdNo, i18n::kStringNo);
  SetString(question, plat::IdCancel, i18n::kStringCancel);
}

bool EndOnAnswer(plat::Hwnd question, int id) {
  if (id != plat::IdYes && id != plat::IdNo && id != plat::IdCancel) return false;
  plat::EndDialog(question, id);
  return true;
}

}  // namespace dialogs
