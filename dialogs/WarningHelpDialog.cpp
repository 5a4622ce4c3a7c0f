#include "dialogs/WarningHelpDialog.h"

#include <cstdio>
#include <cstring>

#include "dialogs/DialogText.h"
#include "dialogs/WarningHelpLogic.h"
#include "i18n/Language.h"
#include "i18n/Resources.h"
#include "i18n/StringIds.h"
#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"

namespace dialogs {

namespace {

constexpr plat::Point kPictureAt = {10, 0};
constexpr size_t kMaxHelpBytes = 16384;
constexpr int kTabSpaces = 4;
constexpr size_t kPathUnits = 200;
const plat::Msg kAskPictureMissing = plat::UserMessage(1);

constexpr plat::DialogControl kControls[] = {
    {.kind = plat::ControlKind::PushButton, .id = kWarningHelpClose,
     .rect = plat::RectXywh(520, 402, 110, 50), .text = "CLOSE", .style = plat::ControlStyle::Center},
    {.kind = plat::ControlKind::ListBox, .id = kWarningHelpText,
     .rect = plat::RectXywh(10, 402, 500, 52), .text = ""},
};

constexpr plat::DialogTemplate kTemplate{
    .id = kWarningHelpDialogId,
    .caption = "Shutdown Help File - 34",
    .rect = plat::RectXywh(0, 0, 640, 480),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

// The warning a dialog explains, given to it as its parameter.
struct HelpRequest {
  int node = 0;
  int code = 0;
};

// Pictures are loaded once per path and kept: the rear-discharge animation cycles four files.
struct CachedPicture {
  char path[kPathUnits] = {};
  plat::Bitmap bitmap;
};
constexpr int kCachedPictures = 5;

struct HelpState {
  bool pictureMissing = false;
  const plat::Bitmap* picture = nullptr;  // what the paint copies; loaded by RefreshPicture
  int frame = 0;
  CachedPicture cache[kCachedPictures];
  int nextCacheSlot = 0;
};
HelpState gHelp;

const HelpRequest& RequestOf(plat::Hwnd dialog) {
  return *static_cast<const HelpRequest*>(plat::GetWindowData(dialog));
}

const plat::Bitmap* LoadPicture(const char* path) {
  for (CachedPicture& c : gHelp.cache)
    if (!c.bitmap.Empty() && std::strcmp(c.path, path) == 0) return &c.bitmap;
  CachedPicture& slot = gHelp.cache[gHelp.nextCacheSlot];
  gHelp.nextCacheSlot = (gHelp.nextCacheSlot + 1) % kCachedPictures;
  if (plat::LoadBmpFile(path, slot.bitmap) != plat::BmpResult::Ok) {
    slot.path[0] = 0;
    return nullptr;
  }
  std::snprintf(slot.path, sizeof slot.path, "%s", path);
  return &slot.bitmap;
}

bool PicturePath(const HelpRequest& request, char* out, size_t size) {
  if (IsRearDischarge(request.node, request.code)) {
    FormatRearDischargePath(out, size, gHelp.frame);
    return true;
  }
  const HelpSubject subject = HelpPictureSubject(request.node, request.code);
  return i18n::WarningBitmapPath(subject.node, subject.code, out, size);
}

// CR ends the visible text of a line, TAB becomes four spaces, LF adds the line; a last line
// without LF is not added.
void AddHelpLines(plat::Hwnd list, const char16_t* text, size_t units) {
  char16_t line[plat::kMaxCellText];
  size_t n = 0;
  bool ended = false;
  for (size_t i = 0; i < units; ++i) {
    const char16_t ch = text[i];
    if (ch == u'\n') {
      line[n] = 0;
      plat::ListBoxAddString(list, line);
      n = 0;
      ended = false;
    } else if (ch == u'\r') {
      ended = true;
    } else if (!ended) {
      const int copies = ch == u'\t' ? kTabSpaces : 1;
      for (int k = 0; k < copies && n + 1 < sizeof line / sizeof line[0]; ++k) line[n++] = ch == u'\t' ? u' ' : ch;
    }
  }
}

void LoadHelpText(plat::Hwnd dialog) {
  const plat::Hwnd list = plat::GetDlgItem(dialog, kWarningHelpText);
  plat::ListBoxResetContent(list);
  const HelpSubject subject = HelpSubjectFor(RequestOf(dialog).node, RequestOf(dialog).code);
  char path[kPathUnits];
  plat::FileHandle f;
  if (!i18n::WarningTextPath(subject.node, subject.code, path, sizeof path) ||
      plat::OpenFile(path, plat::OpenMode::Read, f) != plat::FileResult::Ok) {
    plat::ListBoxAddString(list, kNoHelpText);
    return;
  }
  static uint8_t bytes[kMaxHelpBytes];
  size_t got = 0;
  size_t total = 0;
  if (plat::ReadFile(f, bytes, kMaxHelpBytes, got) == plat::FileResult::Ok) total = got;
  plat::CloseFile(f);
  static char16_t text[kMaxHelpBytes / 2];
  const size_t units = total / 2;
  for (size_t i = 0; i < units; ++i)
    text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  // The first unit is the byte-order mark.
  if (units > 0) AddHelpLines(list, text + 1, units - 1);
}

// Loads the picture of the warning (of the animation's frame) for the next paint; run on
// opening, after each animation step and when the operator retries. A missing picture is
// asked about from the message loop.
void RefreshPicture(plat::Hwnd dialog) {
  gHelp.picture = nullptr;
  if (gHelp.pictureMissing) return;
  char path[kPathUnits];
  gHelp.picture = PicturePath(RequestOf(dialog), path, sizeof path) ? LoadPicture(path) : nullptr;
  if (gHelp.picture != nullptr) return;
  gHelp.pictureMissing = true;
  plat::PostMessage(dialog, kAskPictureMissing);
}

void Paint(plat::Canvas& c) {
  if (gHelp.picture != nullptr) c.Blit(kPictureAt.x, kPictureAt.y, gHelp.picture->View());
}

void AskPictureMissing(plat::Hwnd dialog) {
  char16_t question[i18n::kStringDestUnits] = {};
  char16_t caption[i18n::kStringDestUnits] = {};
  i18n::GetString(i18n::kStringPictureMissing, question);
  i18n::GetString(i18n::kStringPictureMissingCaption, caption);
  const int answer = plat::MessageBox(dialog, question, caption, plat::MbButtons::RetryCancel,
                                      plat::MbIcon::Information);
  if (answer == plat::IdRetry) {
    gHelp.pictureMissing = false;
    RefreshPicture(dialog);
    plat::InvalidateRect(dialog, nullptr, true);
  } else {
    plat::EndDialog(dialog, plat::IdCancel);
  }
}

bool WarningHelpProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg == kAskPictureMissing) {
    AskPictureMissing(dialog);
    return true;
  }
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::SetWindowData(dialog, reinterpret_cast<void*>(l));
      gHelp.pictureMissing = false;
      plat::CenterOverParent(dialog);
      SetStringIfPresent(dialog, 0, i18n::kStringWarningHelpCaption);
      SetStringIfPresent(dialog, kWarningHelpClose, i18n::kStringExit);
      RefreshPicture(dialog);
      LoadHelpText(dialog);
      return true;
    case plat::Msg::Paint:
      Paint(*plat::PaintFrom(l).canvas);
      return false;
    case plat::Msg::Command:
      if (plat::CommandId(w) != kWarningHelpClose) return false;
      plat::EndDialog(dialog, plat::IdOk);
      return true;
    default:
      return false;
  }
}

}  // namespace

int OpenWarningHelpDialog(plat::Hwnd parent, int node, int code) {
  const HelpRequest request{.node = node, .code = code};
  const int result = plat::DialogBox(parent, kTemplate, WarningHelpProc, reinterpret_cast<plat::LParam>(&request));
  gHelp.picture = nullptr;
  return result;
}

int HelpAnimationFrame() { return gHelp.frame; }

void StepHelpAnimation() {
  const plat::Hwnd dialog = plat::FindOpenDialog(kWarningHelpDialogId);
  if (dialog == plat::kNoWindow) return;
  gHelp.frame = NextHelpFrame(gHelp.frame);
  if (IsRearDischarge(RequestOf(dialog).node, RequestOf(dialog).code)) RefreshPicture(dialog);
  plat::InvalidateRect(dialog, &kHelpAnimationRegion, false);
}

void CloseWarningHelpDialog() {
  const plat::Hwnd dialog = plat::FindOpenDialog(kWarningHelpDialogId);
  if (dialog != plat::kNoWindow) plat::SendCommand(dialog, kWarningHelpClose);
}

}  // namespace dialogs
