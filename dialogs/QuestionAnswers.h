#pragma once
// The YES, NO and CANCEL buttons that end the panel's own question dialogs.
#include "platform/Window.h"

namespace dialogs {

// Puts the display language's texts on the question's YES, NO and CANCEL buttons.
void SetAnswerTexts(plat::Hwnd question);
// Ends the question with `id` when it is YES, NO or CANCEL; false, leaving it open, otherwise.
bool EndOnAnswer(plat::Hwnd question, int id);

}  // namespace dialogs
