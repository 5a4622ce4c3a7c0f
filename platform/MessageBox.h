#pragma once
// Message boxes: a modal dialog with an icon drawn by code, a caption, a text wrapped to fit
// the screen and one row of buttons whose control ids are the answers (IdOk, IdYes, ...), so a
// script's "press 6" answers Yes.
#include "platform/Dialog.h"

namespace plat {

enum class MbButtons : uint8_t { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MbIcon : uint8_t { None, Question, Exclamation, Information, Stop };

// Returns the answer (IdOk, IdCancel, IdYes, IdNo, IdRetry), or IdCancel when the box could
// not be shown or the quit message ended it. Texts are narrow Latin-1 or UTF-16; "\n" breaks
// a line and long lines wrap at spaces.
int MessageBox(Hwnd owner, TextRef text, TextRef caption, MbButtons buttons,
               MbIcon icon = MbIcon::None);

// Template id of the message-box dialog, for FindOpenDialog.
inline constexpr int kMessageBoxTemplateId = -100;

}  // namespace plat
