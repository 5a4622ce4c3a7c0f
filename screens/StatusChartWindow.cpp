#include "screens/StatusChartWindow.h"

#include <cstdio>

#include "dialogs/SampleTimeDialog.h"
#include "i18n/Language.h"
#include "i18n/StringIds.h"
#include "link/DryerStatus.h"
#include "platform/Controls.h"
#include "platform/Font.h"
#include "records/LogTick.h"
#include "records/Preferences.h"
#include "records/ShortTermLog.h"
#include "records/StatusChartData.h"
#include "screens/Screens.h"

namespace screens {

namespace {

using plat::Rect;

constexpr Rect kScrollBarRect = plat::RectXywh(361, 37, 30, 135);
constexpr Rect kButtonRect = plat::RectXywh(0, 0, 98, 31);
constexpr int kHeaderTop = 0;
constexpr int kHeaderLine = 16;
constexpr int kLoggerLeft = 363;
constexpr int kLoggerRight = 391;
constexpr int kGridBottom = 205;
constexpr int kGridRight = 400;
constexpr int kChartPage = records::kChartPageRows;
constexpr plat::Color kBlack = plat::Rgb(0, 0, 0);
constexpr plat::Color kWhite = plat::Rgb(255, 255, 255);

// What the last refresh read, kept until the log changes or another page is asked for; the
// paint draws it and touches no file.
struct PageCache {
  uint32_t generation = 0;
  int count = 0;
  int startOffset = -1;
  int rows = 0;
  records::SampleRecord page[kChartPage];
};

struct ChartState {
  plat::FontHandle font;
  int holdSeconds = 0;
  PageCache cache;
};
ChartState gChart;

plat::Color ColorOf(records::ChartRgb c) { return plat::Rgb(c.r, c.g, c.b); }

// Range 0..count with a page of 8, shown only when there is more than one page.
void ResetScrollBar(plat::Hwnd h, int count, bool toNewest) {
  plat::Hwnd bar = plat::GetDlgItem(h, kChartScrollBarId);
  if (count <= kChartPage) {
    plat::ShowWindow(bar, false);
    return;
  }
  plat::ScrollInfo info = plat::GetScrollInfo(bar);
  int pos = toNewest ? count : info.pos;
  plat::SetScrollInfo(bar, {.min = 0, .max = count, .page = kChartPage, .pos = pos});
  plat::ShowWindow(bar, true);
}

void RefreshButton(plat::Hwnd h) {
  char16_t caption[plat::kMaxWindowText];
  records::FormatSampleTimeCaption(caption, plat::kMaxWindowText, records::CurrentPreferences().sampleMinutes);
  plat::SetWindowText(plat::GetDlgItem(h, kChartSampleTimeButtonId), caption);
}

void DrawString(plat::Canvas& c, const Rect& r, int stringId, plat::Color color) {
  char16_t text[i18n::kStringDestUnits] = {};
  i18n::GetString(stringId, text);
  c.SetTextColor(color);
  c.DrawText(r, text, plat::TextFlag::Center | plat::TextFlag::SingleLine);
}

void DrawHeaders(plat::Canvas& c) {
  for (const records::ChartColumn& col : records::kChartColumns) {
    Rect top{col.left, kHeaderTop, col.right, kHeaderTop + kHeaderLine};
    Rect second{col.left, kHeaderTop + kHeaderLine, col.right, kHeaderTop + 2 * kHeaderLine};
    plat::Color colour = ColorOf(col.colour);
    if (col.headerStringId == i18n::kStringSample) {
      // The first column shares its top-left corner with the sample-time button.
      char16_t label[32];
      records::FormatPeriodLabel(label, 32, records::CurrentPreferences().sampleMinutes);
      c.SetTextColor(colour);
      c.DrawText(Rect{60, kHeaderTop, 98, kHeaderTop + 2 * kHeaderLine}, label,
                 plat::TextFlag::Center | plat::TextFlag::WordBreak);
      continue;
    }
    DrawString(c, top, col.headerStringId, colour);
    if (col.unitStringId) DrawString(c, second, col.unitStringId, colour);
  }
}

void DrawLoggerState(plat::Canvas& c, const lnk::DryerStatus& s) {
  records::ChartLoggerState state =
      records::ChartLoggerStateFor(records::DataLoggerOn(s), records::LastLongTermUsedPercent());
  Rect top{kLoggerLeft, 0, kLoggerRight, kHeaderLine};
  Rect below{kLoggerLeft, kHeaderLine, kLoggerRight, 2 * kHeaderLine};
  DrawString(c, top, state.topStringId, kWhite);
  if (state.bottomStringId) {
    DrawString(c, below, state.bottomStringId, kWhite);
  } else if (state.percent[0]) {
    c.SetTextColor(kWhite);
    c.DrawText(below, state.percent, plat::TextFlag::Center | plat::TextFlag::SingleLine);
  }
}

int SampleCount() {
  PageCache& cache = gChart.cache;
  uint32_t generation = records::ShortTermLogGeneration();
  if (cache.generation != generation) {
    cache.generation = generation;
    cache.count = records::CountSamples();
    cache.startOffset = -1;
  }
  return cache.count;
}

// Reads the page the scroll bar shows when the log or the position changed; true when it read.
bool LoadPage(plat::Hwnd h) {
  const int count = SampleCount();
  const int pos = count > kChartPage ? plat::GetScrollPos(plat::GetDlgItem(h, kChartScrollBarId)) : 0;
  const int startOffset = records::ChartStartOffset(pos, count);
  PageCache& cache = gChart.cache;
  const uint32_t generation = records::ShortTermLogGeneration();
  if (cache.startOffset == startOffset && cache.generation == generation) return false;
  // A read that deletes stray files changes the generation, so the next refresh counts again.
  cache.rows = records::ReadSamplePage(kChartPage, cache.page, startOffset);
  cache.startOffset = startOffset;
  cache.generation = generation;
  return true;
}

void Refresh(plat::Hwnd h) {
  RefreshButton(h);
  ResetScrollBar(h, SampleCount(), gChart.holdSeconds == 0);
  if (LoadPage(h)) plat::InvalidateRect(h, nullptr, false);
}

void DrawRows(plat::Canvas& c, bool celsius) {
  const PageCache& cache = gChart.cache;
  int n = cache.rows;
  if (n < 0 || n > kChartPage) return;  // a failed read draws nothing
  for (int i = 0; i < n; ++i) {
    records::ChartRowTexts t;
    records::FormatChartRow(cache.page[i], celsius, t);
    const char* cells[] = {t.time, t.grainTemp, t.moistIn, t.moistOut, t.tempOut, t.rollSpeed};
    int y = records::kChartRowTop + i * records::kChartRowHeight;
    for (int col = 0; col < records::kChartColumnCount; ++col) {
      const records::ChartColumn& column = records::kChartColumns[col];
      c.SetTextColor(ColorOf(column.colour));
      c.DrawText(Rect{column.left, y, column.right, y + records::kChartRowHeight}, cells[col],
                 plat::TextFlag::Center | plat::TextFlag::SingleLine);
    }
  }
}

void DrawGrid(plat::Canvas& c) {
  plat::Color grey = ColorOf(records::kChartGrid);
  for (int x : {100, 150, 200, 250, 300}) c.DrawLine(x, 0, x, kGridBottom, grey);
  c.DrawLine(0, 33, kGridRight, 33, grey);
  c.DrawLine(0, 35, kGridRight, 35, grey);
  c.DrawLine(361, 0, 361, 33, grey);
}

void OnCreate(plat::Hwnd h) {
  gChart.font = plat::CreateFont(plat::kFaceTahoma, 14, plat::FontWeight::Normal);
  plat::CreateControl(h, plat::ControlKind::VScrollBar, kChartScrollBarId, kScrollBarRect, "", 0);
  plat::CreateControl(h, plat::ControlKind::PushButton, kChartSampleTimeButtonId, kButtonRect, "",
                      plat::ControlStyle::Center);
  RefreshButton(h);
  gChart.cache = PageCache{};
  ResetScrollBar(h, SampleCount(), true);
  LoadPage(h);
}

void OnPaint(plat::Hwnd h, plat::PaintContext& pc) {
  plat::Canvas& c = *pc.canvas;
  c.FillRect(plat::GetClientRect(h), kBlack);
  c.SetFont(gChart.font);
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  DrawHeaders(c);
  DrawLoggerState(c, s);
  DrawRows(c, (s.b[lnk::kStatusDisplayOptions] & lnk::kDisplayOptionsCelsius) != 0);
  DrawGrid(c);
}

void OnScroll(plat::Hwnd h, plat::WParam w) {
  plat::Hwnd bar = plat::GetDlgItem(h, kChartScrollBarId);
  int count = SampleCount();
  int pos = plat::GetScrollPos(bar);
  int thumb = plat::ScrollPositionFrom(w);
  switch (plat::ScrollCodeFrom(w)) {
    case plat::ScrollCode::LineUp: pos = records::ChartScroll(pos, records::ChartScrollAction::LineUp, 0, count); break;
    case plat::ScrollCode::LineDown: pos = records::ChartScroll(pos, records::ChartScrollAction::LineDown, 0, count); break;
    case plat::ScrollCode::PageUp: pos = records::ChartScroll(pos, records::ChartScrollAction::PageUp, 0, count); break;
    case plat::ScrollCode::PageDown: pos = records::ChartScroll(pos, records::ChartScrollAction::PageDown, 0, count); break;
    case plat::ScrollCode::ThumbPosition:
    case plat::ScrollCode::ThumbTrack: pos = records::ChartScroll(pos, records::ChartScrollAction::Thumb, thumb, count); break;
    case plat::ScrollCode::Top: pos = 0; break;
    case plat::ScrollCode::Bottom: pos = count; break;
    case plat::ScrollCode::EndScroll: return;
  }
  plat::SetScrollInfo(bar, {.min = 0, .max = count, .page = kChartPage, .pos = pos});
  gChart.holdSeconds = records::ChartStartOffset(pos, count) > 0 ? kChartScrollHoldSeconds : 0;
  LoadPage(h);
  plat::InvalidateRect(h, nullptr, false);
}

void OnCommand(plat::Hwnd h, int id) {
  if (id != kChartSampleTimeButtonId) return;
  dialogs::OpenSampleTimeDialog(h);
  if (!plat::IsWindow(h)) return;
  RefreshButton(h);
  plat::InvalidateRect(h, nullptr, false);
}

}  // namespace

void StatusChartSecond() {
  if (gChart.holdSeconds > 0) --gChart.holdSeconds;
  // The tick has just logged and asked for a repaint: the new row is read before it paints.
  const plat::Hwnd chart = plat::FindWindow(kAverageValuesClass);
  if (plat::IsWindowVisible(chart)) Refresh(chart);
}

plat::LResult StatusChartWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg == kMsgRefresh) {
    Refresh(h);
    return 0;
  }
  switch (msg) {
    case plat::Msg::Create:
      OnCreate(h);
      return 0;
    case plat::Msg::Show:
      if (w != 0) Refresh(h);
      return 0;
    case plat::Msg::Paint:
      OnPaint(h, plat::PaintFrom(l));
      return 0;
    case plat::Msg::VScroll:
      OnScroll(h, w);
      return 0;
    case plat::Msg::Command:
      OnCommand(h, plat::CommandId(w));
      return 0;
    default:
      return plat::DefWindowProc(h, msg, w, l);
  }
}

}  // namespace screens
