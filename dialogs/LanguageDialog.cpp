#include "dialogs/LanguageDialog.h"

#include "i18n/Language.h"
#include "platform/Dialog.h"

namespace dialogs {

namespace {

constexpr int kButtonWidth = 140;
constexpr int kButtonHeight = 52;
constexpr int kGap = 8;
constexpr int kColumns = 4;
constexpr int kDialogWidth = kColumns * kButtonWidth + (kColumns + 1) * kGap;
constexpr int kDialogHeight = plat::kCaptionHeight + 4 * kButtonHeight + 5 * kGap;

constexpr plat::Rect ButtonRect(int slot) {
  return plat::RectXywh(kGap + (slot % kColumns) * (kButtonWidth + kGap),
                        kGap + (slot / kColumns) * (kButtonHeight + kGap), kButtonWidth, kButtonHeight);
}

constexpr plat::DialogControl Button(int slot, int id, const char* englishCaption) {
  return plat::DialogControl{.kind = plat::ControlKind::CheckButton,
                             .id = id,
                             .rect = ButtonRect(slot),
                             .text = englishCaption,
                             .style = plat::ControlStyle::Center | plat::ControlStyle::NoAuto};
}

// Laid out in button-id order, so the Dutch button comes last, after Spanish.
constexpr plat::DialogControl kControls[] = {
    Button(0, kLanguageButtonEnglish, "English\n(English)"),
    Button(1, kLanguageButtonBulgarian, "Bulgarian\n(Bulgarian)"),
    Button(2, kLanguageButtonCzech, "Czech\n(Czech)"),
    Button(3, kLanguageButtonDanish, "Danish\n(Danish)"),
    Button(4, kLanguageButtonFrench, "French\n(French)"),
    Button(5, kLanguageButtonGerman, "German\n(German)"),
    Button(6, kLanguageButtonHungarian, "Hungarian\n(Hungarian)"),
    Button(7, kLanguageButtonPolish, "Polish\n(Polish)"),
    Button(8, kLanguageButtonPortuguese, "Portuguese\n(Portuguese)"),
    Button(9, kLanguageButtonRomanian, "Romanian\n(Romanian)"),
    Button(10, kLanguageButtonRussian, "Russian\n(Russian)"),
    Button(11, kLanguageButtonSpanish, "Spanish\n(Spanish)"),
    Button(12, kLanguageButtonDutch, "Dutch\n(Dutch)"),
};

constexpr plat::DialogTemplate kTemplate{
    .id = kLanguageDialogId,
    .caption = "Select Language to Use",
    .rect = plat::RectXywh(0, 0, kDialogWidth, kDialogHeight),
    .controls = kControls,
    .count = static_cast<int>(sizeof(kControls) / sizeof(kControls[0])),
};

// The language of a button id, -1 for anything else.
int LanguageOfButton(int id) {
  for (int i = 0; i < i18n::kLanguageCount; ++i)
    if (i18n::kLanguages[i].dialogButtonId == id) return i;
  return -1;
}

void SetCaptions(plat::Hwnd dialog) {
  for (const i18n::LanguageInfo& lang : i18n::kLanguages) {
    char16_t own[i18n::kStringDestUnits];
    i18n::GetString(lang.ownNameStringId, own);
    char16_t caption[plat::kMaxWindowText];
    size_t n = 0;
    auto append = [&](plat::TextRef part) {
      n += plat::CopyText(caption + n, sizeof caption / sizeof caption[0] - n, part);
    };
    append(own);
    append("\n(");
    append(lang.name);
    append(")");
    plat::SetDlgItemText(dialog, lang.dialogButtonId, caption);
  }
}

void SetCheckMarks(plat::Hwnd dialog) {
  const int current = i18n::CurrentLanguage();
  for (int i = 0; i < i18n::kLanguageCount; ++i)
    plat::CheckDlgButton(dialog, i18n::kLanguages[i].dialogButtonId, i == current);
}

bool OnCommand(plat::Hwnd dialog, int id) {
  const int language = LanguageOfButton(id);
  if (language < 0) return false;
  i18n::SetLanguage(static_cast<i18n::LanguageId>(language));
  SetCaptions(dialog);
  SetCheckMarks(dialog);
  plat::InvalidateRect(plat::GetParent(dialog), nullptr, true);
  plat::EndDialog(dialog, id);
  return true;
}

bool LanguageDialogProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam wParam, plat::LParam) {
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::CenterOverParent(dialog);
      SetCaptions(dialog);
      SetCheckMarks(dialog);
      return true;
    case plat::Msg::Command:
      return OnCommand(dialog, plat::CommandId(wParam));
    default:
      return false;
  }
}

}  // namespace

int OpenLanguageDialog(plat::Hwnd parent) {
  return plat::DialogBox(parent, kTemplate, LanguageDialogProc, 0);
}

}  // namespace dialogs
