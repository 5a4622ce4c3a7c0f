#include "dialogs/SetupQuestion.h"

#include "dialogs/DialogText.h"
#include "dialogs/QuestionAnswers.h"
#include "i18n/Language.h"
#include "i18n/Resources.h"
#include "i18n/StringIds.h"
#include "platform/Dialog.h"
#include "platform/MessageBox.h"

namespace dialogs {
namespace {

using plat::ControlKind;
using plat::DialogControl;
using plat::RectXywh;
namespace Style = plat::ControlStyle;

constexpr int kWidth = 470;
constexpr int kButtonY = 124;
constexpr int kButtonHeight = 48;
constexpr int kHeight = plat::kCaptionHeight + kButtonY + kButtonHeight + 12;

constexpr DialogControl kControls[] = {
    {.kind = ControlKind::Static, .id = kQuestionText, .rect = RectXywh(15, 12, kWidth - 30, 56), .text = "",
     .style = Style::Center | Style::Multiline},
    {.kind = ControlKind::Static, .id = kQuestionDetail, .rect = RectXywh(15, 74, kWidth - 30, 40), .text = "",
     .style = Style::Center | Style::Multiline},
    {.kind = ControlKind::PushButton, .id = plat::IdYes, .rect = RectXywh(15, kButtonY, 140, kButtonHeight),
     .text = "YES", .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = plat::IdNo, .rect = RectXywh(165, kButtonY, 140, kButtonHeight),
     .text = "NO", .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kQuestionHelp, .rect = RectXywh(315, kButtonY, 140, kButtonHeight),
     .text = "HELP", .style = Style::Center},
};

const SetupQuestion& QuestionOf(plat::Hwnd dialog) {
  return *static_cast<const SetupQuestion*>(plat::GetWindowData(dialog));
}

bool QuestionProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::InitDialog: {
      plat::SetWindowData(dialog, reinterpret_cast<void*>(l));
      const SetupQuestion& q = QuestionOf(dialog);
      plat::CenterOverParent(dialog);
      SetString(dialog, 0, q.captionId);
      SetString(dialog, kQuestionText, q.textId);
      plat::SetDlgItemText(dialog, kQuestionDetail, q.detail);
      SetAnswerTexts(dialog);
      SetString(dialog, kQuestionHelp, i18n::kStringHelp);
      return true;
    }
    case plat::Msg::Command: {
      const int id = plat::CommandId(w);
      if (id == kQuestionHelp) {
        const SetupQuestion& q = QuestionOf(dialog);
        ShowHelpFile(dialog, q.helpFile, q.helpCaptionId);
        return true;
      }
      return EndOnAnswer(dialog, id);
    }
    case plat::Msg::Close:
      // Closing without an answer is a NO: nothing changes.
      plat::EndDialog(dialog, plat::IdNo);
      return true;
    default:
      return false;
  }
}

}  // namespace

int AskSetupQuestion(plat::Hwnd parent, const SetupQuestion& question) {
  const plat::DialogTemplate tmpl{
      .id = question.templateId,
      .caption = question.caption,
      .rect = RectXywh(0, 0, kWidth, kHeight),
      .controls = kControls,
      .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
  };
  return plat::DialogBox(parent, tmpl, QuestionProc, reinterpret_cast<plat::LParam>(&question));
}

}  // namespace dialogs
