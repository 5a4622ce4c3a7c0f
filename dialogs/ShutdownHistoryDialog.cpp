#include "dialogs/ShutdownHistoryDialog.h"
#include "dialogs/DialogText.h"
#include "dialogs/QuestionAnswers.h"

#include <cstdint>
#include <cstdio>
#include <initializer_list>

#include "i18n/Language.h"
#include "i18n/StringIds.h"
#include "platform/Dialog.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "records/ShutdownHistory.h"
#include "records/UsbExport.h"

namespace dialogs {

namespace {

using plat::ControlKind;
using plat::DialogControl;
using plat::RectXywh;
using records::HistorySort;
namespace Style = plat::ControlStyle;

constexpr int kHoldStart = 5;
constexpr int kHoldAfterGesture = 10;
// Rows read from the store at a time: a few screens of the list, so scrolling a line or a
// page mostly finds its rows already read.
constexpr int kPageRows = 48;

struct SortRow {
  HistorySort order;
  int button;
  int box;
  int buttonString;
  int boxString;
};
constexpr SortRow kSorts[] = {
    {.order = HistorySort::ByWarning, .button = kHistorySortByWarning, .box = kHistoryBoxByWarning,
     .buttonString = i18n::kHistorySortByWarning, .boxString = i18n::kHistorySortedByWarning},
    {.order = HistorySort::ByDateTime, .button = kHistorySortByDate, .box = kHistoryBoxByDate,
     .buttonString = i18n::kHistorySortByDate, .boxString = i18n::kHistorySortedByDate},
    {.order = HistorySort::ByNode, .button = kHistorySortByNode, .box = kHistoryBoxByNode,
     .buttonString = i18n::kHistorySortByNode, .boxString = i18n::kHistorySortedByNode},
};

struct Column {
  const char* title;
  int width;       // when the columns are made
  int finalWidth;  // set right after
};
constexpr Column kColumns[] = {
    {"Shutdown ID", 280, 325}, {"Node ID", 140, 90}, {"Date", 90, 90}, {"Time", 90, 90}};

constexpr DialogControl kControls[] = {
    {.kind = ControlKind::ListView, .id = kHistoryList, .rect = RectXywh(6, 6, 612, 250),
     .style = Style::OwnerData},
    {.kind = ControlKind::PushButton, .id = kHistorySortByWarning, .rect = RectXywh(6, 264, 150, 40),
     .text = "SORT BY WARNING", .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kHistorySortByDate, .rect = RectXywh(162, 264, 150, 40),
     .text = "SORT BY DATE/TIME", .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kHistorySortByNode, .rect = RectXywh(318, 264, 150, 40),
     .text = "SORT BY    NODE ID", .style = Style::Center},
    {.kind = ControlKind::CheckBox, .id = kHistoryBoxByWarning, .rect = RectXywh(6, 310, 150, 24),
     .text = "Sorted by warning.", .style = Style::NoAuto},
    {.kind = ControlKind::CheckBox, .id = kHistoryBoxByDate, .rect = RectXywh(162, 310, 150, 24),
     .text = "Sorted by date/time.", .style = Style::NoAuto},
    {.kind = ControlKind::CheckBox, .id = kHistoryBoxByNode, .rect = RectXywh(318, 310, 150, 24),
     .text = "Sorted by node id.", .style = Style::NoAuto},
    {.kind = ControlKind::PushButton, .id = kHistoryCopy, .rect = RectXywh(474, 264, 144, 40),
     .text = "COPY HISTORY TO USB", .style = Style::Center | Style::Multiline},
    {.kind = ControlKind::PushButton, .id = kHistoryHelp, .rect = RectXywh(474, 310, 144, 40),
     .text = "Show Help File", .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = kHistoryClear, .rect = RectXywh(6, 344, 150, 40),
     .text = "CLEAR HISTORY", .style = Style::Center | Style::Hidden},
    {.kind = ControlKind::PushButton, .id = kHistoryExit, .rect = RectXywh(474, 356, 144, 40), .text = "EXIT",
     .style = Style::Center},
};

constexpr plat::DialogTemplate kTemplate{
    .id = kHistoryDialogId,
    .caption = "Shutdown History -29",
    .rect = RectXywh(0, 0, 628, 430),
    .controls = kControls,
    .count = static_cast<int>(sizeof kControls / sizeof kControls[0]),
};

// The three questions share one layout: a text and YES, NO, CANCEL.
constexpr DialogControl kQuestionControls[] = {
    {.kind = ControlKind::Static, .id = kHistoryQuestionText, .rect = RectXywh(12, 10, 376, 64), .text = "",
     .style = Style::Center | Style::Multiline},
    {.kind = ControlKind::PushButton, .id = plat::IdYes, .rect = RectXywh(12, 84, 116, 40), .text = "YES",
     .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = plat::IdNo, .rect = RectXywh(142, 84, 116, 40), .text = "NO",
     .style = Style::Center},
    {.kind = ControlKind::PushButton, .id = plat::IdCancel, .rect = RectXywh(272, 84, 116, 40), .text = "CANCEL",
     .style = Style::Center},
};
constexpr int kQuestionCount = static_cast<int>(sizeof kQuestionControls / sizeof kQuestionControls[0]);
constexpr plat::Rect kQuestionRect = RectXywh(0, 0, 400, 162);

struct Question {
  plat::DialogTemplate tmpl;
  int textString;
  int captionString;
};
constexpr Question kClearQuestion{
    {.id = kClearHistoryDialogId, .caption = "", .rect = kQuestionRect, .controls = kQuestionControls, .count = kQuestionCount},
    i18n::kHistoryClearQuestion, i18n::kHistoryClearCaption};
constexpr Question kCopyQuestion{
    {.id = kCopyHistoryDialogId, .caption = "", .rect = kQuestionRect, .controls = kQuestionControls, .count = kQuestionCount},
    i18n::kHistoryCopyQuestion, i18n::kHistoryCopyCaption};
constexpr Question kNoStickQuestion{
    {.id = kNoStickDialogId, .caption = "", .rect = kQuestionRect, .controls = kQuestionControls, .count = kQuestionCount},
    i18n::kHistoryNoStickQuestion, i18n::kHistoryNoStickCaption};

// The list's rows first .. first + count - 1, as the store gave them.
struct RowPage {
  uint32_t first = 0;
  int count = 0;
  records::HistoryRow rows[kPageRows];
};

struct DialogState {
  int holdCountdown = kHoldStart;
  HistoryHelp help{};
  HistorySort order = HistorySort::ByDateTime;
  RowPage page;
};
DialogState gHistory;

// What the opener hands the dialog through the dialog parameter.
struct HistoryOpening {
  plat::Hwnd parent;  // the screen that opened the dialog, told when help is asked for
};

const HistoryOpening& OpeningOf(plat::Hwnd dialog) {
  return *static_cast<const HistoryOpening*>(plat::GetWindowData(dialog));
}

bool QuestionProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam wParam, plat::LParam lParam) {
  switch (msg) {
    case plat::Msg::InitDialog: {
      plat::CenterOverParent(dialog);
      const Question& q = *reinterpret_cast<const Question*>(lParam);
      SetString(dialog, 0, q.captionString);
      SetString(dialog, kHistoryQuestionText, q.textString);
      SetAnswerTexts(dialog);
      return true;
    }
    case plat::Msg::Command:
      return EndOnAnswer(dialog, plat::CommandId(wParam));
    default:
      return false;
  }
}

int Ask(plat::Hwnd owner, const Question& q) {
  return plat::DialogBox(owner, q.tmpl, QuestionProc, reinterpret_cast<plat::LParam>(&q));
}

bool PageHolds(int first, int last) {
  const RowPage& p = gHistory.page;
  return first >= static_cast<int>(p.first) && last < static_cast<int>(p.first) + p.count;
}

// Reads the page around the rows about to be shown, a little more of it below them, where a
// list read from the top is scrolled to.
void ReadPageFor(int first, int last) {
  if (first < 0 || last < first || PageHolds(first, last)) return;
  int spare = kPageRows - (last - first + 1);
  int start = spare > 0 ? first - spare / 3 : first;
  if (start < 0) start = 0;
  RowPage& p = gHistory.page;
  p.first = static_cast<uint32_t>(start);
  p.count = records::ReadHistoryRows(gHistory.order, p.first, p.rows, kPageRows);
}

// A cell the list is painting: from the page, read again only for a row the list did not
// announce.
void GiveCell(plat::ListTextRequest& request) {
  ReadPageFor(request.row, request.row);
  if (!PageHolds(request.row, request.row)) return;
  const records::HistoryRow& r = gHistory.page.rows[request.row - static_cast<int>(gHistory.page.first)];
  const char16_t* cells[] = {r.description, r.node, r.date, r.time};
  if (request.column < 0 || request.column >= static_cast<int>(sizeof cells / sizeof cells[0])) return;
  plat::CopyText(request.text, static_cast<size_t>(request.units), cells[request.column]);
}

void Fill(plat::Hwnd dialog, HistorySort order) {
  gHistory.order = order;
  gHistory.page.count = 0;
  plat::Hwnd list = plat::GetDlgItem(dialog, kHistoryList);
  plat::ListViewDeleteAllItems(list);
  uint32_t count = records::CachedHistoryCount();
  plat::ListViewSetItemCount(list, count > INT32_MAX ? INT32_MAX : static_cast<int>(count));
  for (const SortRow& s : kSorts) plat::CheckDlgButton(dialog, s.box, s.order == order);
}

void SetUpList(plat::Hwnd dialog) {
  plat::Hwnd list = plat::GetDlgItem(dialog, kHistoryList);
  for (int c = 0; c < static_cast<int>(sizeof kColumns / sizeof kColumns[0]); ++c) {
    plat::ListViewInsertColumn(list, c, kColumns[c].title, kColumns[c].width);
    plat::ListViewSetColumnWidth(list, c, kColumns[c].finalWidth);
  }
  records::ReadHistoryCount();
  Fill(dialog, HistorySort::ByDateTime);
}

void SetTexts(plat::Hwnd dialog) {
  SetString(dialog, 0, i18n::kHistoryCaption);
  for (const SortRow& s : kSorts) {
    SetString(dialog, s.button, s.buttonString);
    SetString(dialog, s.box, s.boxString);
  }
  char16_t first[i18n::kStringDestUnits] = {}, second[i18n::kStringDestUnits] = {};
  i18n::GetString(i18n::kHistoryCopyFirst, first);
  i18n::GetString(i18n::kHistoryCopySecond, second);
  char16_t copy[plat::kMaxWindowText];
  size_t n = plat::CopyText(copy, plat::kMaxWindowText, first);
  n += plat::CopyText(copy + n, plat::kMaxWindowText - n, " ");
  plat::CopyText(copy + n, plat::kMaxWindowText - n, second);
  plat::SetDlgItemText(dialog, kHistoryCopy, copy);
  SetString(dialog, kHistoryHelp, i18n::kStringHelp);
  SetString(dialog, kHistoryExit, i18n::kStringExit);
}

// The stick may be any drive the panel found mounted, so the operator is told which folder.
void TellWhereItWent(plat::Hwnd dialog) {
  char where[plat::kMaxWindowText];
  if (!plat::ResolvePath(records::kHistoryExportPath, where, sizeof where)) return;
  char16_t caption[i18n::kStringDestUnits] = {}, line[i18n::kStringDestUnits] = {};
  i18n::GetString(i18n::kStringCopiedToStickCaption, caption);
  i18n::GetString(i18n::kStringCopiedToStickText, line);
  char16_t text[plat::kMaxWindowText];
  size_t n = plat::CopyText(text, plat::kMaxWindowText, line);
  n += plat::CopyText(text + n, plat::kMaxWindowText - n, "\n");
  plat::CopyText(text + n, plat::kMaxWindowText - n, where);
  plat::MessageBox(dialog, text, caption, plat::MbButtons::Ok, plat::MbIcon::Information);
}

void CopyToStick(plat::Hwnd dialog) {
  if (!records::UsbStickPresent()) {
    Ask(dialog, kNoStickQuestion);
    return;
  }
  if (Ask(dialog, kCopyQuestion) != plat::IdYes) return;
  records::ExportOutcome outcome = records::ExportHistory();
  char text[96];
  if (records::ExportMessage(outcome, text, sizeof text))
    plat::MessageBox(dialog, text, "", plat::MbButtons::Ok);
  else if (outcome.result == records::ExportResult::Exported)
    TellWhereItWent(dialog);
}

void ShowHelp(plat::Hwnd dialog) {
  plat::Hwnd list = plat::GetDlgItem(dialog, kHistoryList);
  int row = plat::ListGetSelection(list);
  if (row < 0) {
    char16_t text[i18n::kStringDestUnits] = {}, caption[i18n::kStringDestUnits] = {};
    i18n::GetString(i18n::kHistoryNoSelection, text);
    i18n::GetString(i18n::kHistoryNoSelectionCaption, caption);
    plat::MessageBox(dialog, text, caption, plat::MbButtons::OkCancel);
    return;
  }
  records::HelpIds ids = records::DecodeHelpIds(plat::ListItemText(list, row, 0));
  gHistory.help = {.node = ids.node, .warning = ids.warning};
  plat::SendMessage(OpeningOf(dialog).parent, plat::Msg::Command,
                    plat::CommandParam(kHistoryHelpCommand, plat::Notify::Clicked),
                    static_cast<plat::LParam>(static_cast<uint32_t>(dialog)));
}

void OnExit(plat::Hwnd dialog) {
  if (gHistory.holdCountdown > 0) {
    plat::EndDialog(dialog, kHistoryExit);
    return;
  }
  gHistory.holdCountdown = kHoldAfterGesture;
  if (Ask(dialog, kClearQuestion) != plat::IdYes) return;
  records::ClearHistory();
  records::ReadHistoryCount();
  Fill(dialog, HistorySort::ByDateTime);
}

bool OnCommand(plat::Hwnd dialog, int id) {
  for (const SortRow& s : kSorts) {
    if (id != s.button) continue;
    Fill(dialog, s.order);
    return true;
  }
  switch (id) {
    case kHistoryCopy: CopyToStick(dialog); return true;
    case kHistoryHelp: ShowHelp(dialog); return true;
    case kHistoryExit: OnExit(dialog); return true;
    default: return false;
  }
}

bool HistoryProc(plat::Hwnd dialog, plat::Msg msg, plat::WParam wParam, plat::LParam lParam) {
  switch (msg) {
    case plat::Msg::InitDialog:
      plat::SetWindowData(dialog, reinterpret_cast<void*>(lParam));
      gHistory.holdCountdown = kHoldStart;
      SetUpList(dialog);
      SetTexts(dialog);
      plat::CenterOverParent(dialog);
      return true;
    case plat::Msg::Command:
      return OnCommand(dialog, plat::CommandId(wParam));
    case plat::Msg::ListCacheHint: {
      const plat::ListRowRange& range = plat::ListRowRangeFrom(lParam);
      ReadPageFor(range.first, range.last);
      return true;
    }
    case plat::Msg::GetListText:
      GiveCell(plat::ListTextRequestFrom(lParam));
      return true;
    default:
      return false;
  }
}

}  // namespace

HistoryHelp HistoryHelpRequest() { return gHistory.help; }

int OpenShutdownHistoryDialog(plat::Hwnd parent) {
  const HistoryOpening opening{.parent = parent};
  return plat::DialogBox(parent, kTemplate, HistoryProc, reinterpret_cast<plat::LParam>(&opening));
}

void HistoryDialogSecond() {
  plat::Hwnd dialog = plat::FindOpenDialog(kHistoryDialogId);
  if (dialog == plat::kNoWindow || !plat::IsWindowVisible(dialog)) return;
  if (plat::IsDlgButtonHeld(dialog, kHistoryExit)) {
    if (gHistory.holdCountdown > 0) --gHistory.holdCountdown;
  } else {
    gHistory.holdCountdown = kHoldStart;
  }
}

int HistoryHoldCountdown() { return gHistory.holdCountdown; }

}  // namespace dialogs
