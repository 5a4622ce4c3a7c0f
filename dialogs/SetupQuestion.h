#pragma once
// What the small setup dialogs share: a help file shown in an OK box, and a yes/no question
// with a line of detail and a HELP button, used by the batch counter and cycled sampler
// confirmations.
#include "dialogs/DialogText.h"
#include "platform/Window.h"

namespace dialogs {

enum SetupQuestionControl : int {
  kQuestionText = 1601,
  kQuestionDetail = 1602,
  kQuestionHelp = 1603,
};  // YES and NO are plat::IdYes and plat::IdNo

struct SetupQuestion {
  int templateId = 0;
  const char* caption = "";  // English, replaced by string captionId
  int captionId = 0;
  int textId = 0;             // the question
  const char16_t* detail = u"";  // the line under it
  const char* helpFile = "";
  int helpCaptionId = 0;
};


// Runs the question modally; returns plat::IdYes or plat::IdNo (or -1 when it could not open).
int AskSetupQuestion(plat::Hwnd parent, const SetupQuestion& question);

}  // namespace dialogs
