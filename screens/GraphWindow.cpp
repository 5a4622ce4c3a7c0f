#include "screens/GraphWindow.h"

#include "dialogs/GraphSetupDialog.h"
#include "i18n/Resources.h"
#include "link/DryerStatus.h"
#include "platform/Bitmap.h"
#include "platform/Controls.h"
#include "platform/Font.h"
#include "records/GraphLog.h"
#include "records/Preferences.h"
#include "screens/Screens.h"

namespace screens {

namespace {

using plat::Rect;
using records::GraphTrace;

constexpr Rect kDrawRect = plat::RectXywh(0, 0, 400, 222);
constexpr Rect kScrollRect = plat::RectXywh(5, 225, 380, 25);
constexpr Rect kSetupRect = plat::RectXywh(195, 340, 185, 25);
constexpr Rect kNoteRect = plat::RectXywh(5, 336, 185, 44);
constexpr int kNoteId = 36880;
constexpr int kPlotLeft = 36;
constexpr int kPlotTop = 20;
constexpr int kPlotBottom = kPlotTop + records::kGraphPlotHeight;
constexpr int kLabelStep = 7;  // each shown trace's labels sit a little lower than the last
constexpr plat::Color kBlack = plat::Rgb(0, 0, 0);
constexpr plat::Color kFrame = plat::Rgb(64, 64, 64);
constexpr plat::Color kWhite = plat::Rgb(255, 255, 255);

struct TraceButton {
  const char* className;  // the button's name in the original panel
  int bitmap;
  plat::Color pen;
  const char* fallback;   // shown when the picture is missing
  Rect rect;
};
constexpr TraceButton kTraceButtons[records::kGraphTraceCount] = {
    {"GRAPH_MOIST_IN_BUTTON", 64, plat::Rgb(0, 255, 0), "MOIST IN", plat::RectXywh(8, 260, 110, 33)},
    {"GRAPH_TEMP_IN_BUTTON", 65, plat::Rgb(255, 128, 64), "TEMP IN", plat::RectXywh(138, 260, 110, 33)},
    {"GRAPH_MOIST_OUT_BUTTON", 66, plat::Rgb(0, 255, 255), "MOIST OUT", plat::RectXywh(270, 260, 110, 33)},
    {"GRAPH_TEMP_OUT_BUTTON", 67, plat::Rgb(255, 0, 255), "TEMP OUT", plat::RectXywh(8, 300, 110, 33)},
    {"GRAPH_DRYER_GRAIN_TEMP_BUTTON", 68, plat::Rgb(255, 255, 0), "GRAIN TEMP", plat::RectXywh(138, 300, 110, 33)},
    {"GRAPH_MR_SPEED_BUTTON", 69, plat::Rgb(255, 0, 0), "MR SPEED", plat::RectXywh(270, 300, 110, 33)},
};

struct GraphState {
  plat::Bitmap normal[records::kGraphTraceCount];
  plat::Bitmap pressed[records::kGraphTraceCount];
  plat::FontHandle font;
  plat::FontHandle small;
  int scrollOffset = 0;
  bool loaded = false;
  // What the last good read was made for: the refresh reads the files again only when the
  // log, the window length or the scroll position changed; the paint draws what it read.
  uint32_t loadedGeneration = 0;
  int loadedScale = -1;
  int loadedOffset = -1;
  int hoursAvailable = 0;  // of logged data, counted with the last good read
  records::GraphWindow window;
  plat::Point points[records::kGraphPoints];
};
GraphState gGraph;

bool TraceOn(int t) { return (records::CurrentPreferences().graphTraces & records::TraceBit(static_cast<GraphTrace>(t))) != 0; }

void DrawTraceButton(plat::DrawItemInfo& item) {
  int t = item.controlId - kGraphFirstTraceButtonId;
  if (t < 0 || t >= records::kGraphTraceCount) return;
  bool down = (item.state & plat::ItemState::Pressed) != 0;
  const plat::Bitmap& picture = down ? gGraph.pressed[t] : gGraph.normal[t];
  if (picture.Empty())
    plat::DrawButtonFace(*item.canvas, item.rect, kTraceButtons[t].fallback, down, true);
  else
    item.canvas->Blit(0, 0, picture.View());
  // A switched-on trace is framed in its pen colour.
  item.canvas->FrameRect(item.rect, TraceOn(t) ? kTraceButtons[t].pen : kFrame, 3);
}

void UpdateScrollBar(plat::Hwnd graph) {
  plat::Hwnd bar = plat::GetDlgItem(graph, kGraphScrollBarId);
  int max = gGraph.window.maxScrollOffset;
  // The newest window sits at the right end of the bar.
  plat::SetScrollInfo(bar, {.min = 0, .max = max, .page = 0, .pos = max - gGraph.scrollOffset});
}

// A failed read keeps the traces of the last good one.
void LoadGraph(plat::Hwnd graph) {
  const int scale = records::CurrentPreferences().graphScale;
  const uint32_t generation = records::GraphLogGeneration();
  const bool stale = !gGraph.loaded || gGraph.loadedGeneration != generation || gGraph.loadedScale != scale ||
                     gGraph.loadedOffset != gGraph.scrollOffset;
  if (!stale || records::LoadGraphWindow(scale, gGraph.scrollOffset, gGraph.window) != records::LogResult::Ok)
    return;
  gGraph.loaded = true;
  gGraph.scrollOffset = gGraph.window.scrollOffset;
  gGraph.loadedGeneration = generation;
  gGraph.loadedScale = scale;
  gGraph.loadedOffset = gGraph.scrollOffset;
  gGraph.hoursAvailable = records::GraphHoursAvailable();
  UpdateScrollBar(graph);
  plat::InvalidateRect(plat::GetDlgItem(graph, kGraphDrawId), nullptr, false);
}

void OnScroll(plat::Hwnd graph, plat::WParam w) {
  int max = gGraph.window.maxScrollOffset;
  int offset = gGraph.scrollOffset;
  switch (plat::ScrollCodeFrom(w)) {
    case plat::ScrollCode::LineUp:
    case plat::ScrollCode::PageUp: ++offset; break;
    case plat::ScrollCode::LineDown:
    case plat::ScrollCode::PageDown: --offset; break;
    case plat::ScrollCode::ThumbPosition: offset = max - plat::ScrollPositionFrom(w); break;
    case plat::ScrollCode::Top: offset = max; break;
    case plat::ScrollCode::Bottom: offset = 0; break;
    case plat::ScrollCode::ThumbTrack:
    case plat::ScrollCode::EndScroll: return;
  }
  gGraph.scrollOffset = offset < 0 ? 0 : (offset > max ? max : offset);
  UpdateScrollBar(graph);
  LoadGraph(graph);
  plat::InvalidateRect(plat::GetDlgItem(graph, kGraphDrawId), nullptr, false);
}

void OnGraphCommand(plat::Hwnd graph, int id) {
  int t = id - kGraphFirstTraceButtonId;
  if (t >= 0 && t < records::kGraphTraceCount) {
    records::Preferences& p = records::CurrentPreferences();
    p.graphTraces = static_cast<uint8_t>(p.graphTraces ^ records::TraceBit(static_cast<GraphTrace>(t)));
    records::SavePreference(records::kPrefGraphTraces, p.graphTraces);
    plat::InvalidateRect(plat::GetDlgItem(graph, id), nullptr, false);
    plat::InvalidateRect(plat::GetDlgItem(graph, kGraphDrawId), nullptr, false);
    return;
  }
  if (id != kGraphSetupButtonId) return;
  dialogs::OpenGraphSetupDialog(graph);
  if (!plat::IsWindow(graph)) return;
  LoadGraph(graph);
  plat::InvalidateRect(plat::GetDlgItem(graph, kGraphDrawId), nullptr, false);
}

void OnGraphCreate(plat::Hwnd graph) {
  gGraph.loaded = false;
  for (int t = 0; t < records::kGraphTraceCount; ++t) {
    i18n::LoadLocalisedBitmapPair(kTraceButtons[t].bitmap, gGraph.normal[t], gGraph.pressed[t]);
    plat::CreateControl(graph, plat::ControlKind::OwnerDrawButton, kGraphFirstTraceButtonId + t,
                        kTraceButtons[t].rect, kTraceButtons[t].fallback, 0);
  }
  plat::CreateControl(graph, plat::ControlKind::HScrollBar, kGraphScrollBarId, kScrollRect, "", 0);
  plat::CreateControl(graph, plat::ControlKind::PushButton, kGraphSetupButtonId, kSetupRect, "GRAPH SETUP",
                      plat::ControlStyle::Center);
  plat::Hwnd note = plat::CreateControl(graph, plat::ControlKind::Static, kNoteId, kNoteRect, kGraphNote,
                                        plat::ControlStyle::Multiline);
  plat::SetControlColors(note, kWhite, kBlack);
  plat::CreateWindow({.className = kDrawGraphClass, .parent = graph, .rect = kDrawRect,
                      .flags = plat::WindowFlag::Visible, .id = kGraphDrawId});
}

void DrawLabels(plat::Canvas& c, int shownIndex, int t, bool celsius) {
  const records::GraphAxis& axis = gGraph.window.traces[t].axis;
  c.SetTextColor(kTraceButtons[t].pen);
  for (int i = 0; i < records::kGraphTicks; ++i) {
    char label[16];
    records::FormatAxisLabel(static_cast<GraphTrace>(t), axis.ticks[i], celsius, label, sizeof label);
    int y = kPlotBottom - i * (records::kGraphPlotHeight / (records::kGraphTicks - 1)) - 6 + shownIndex * kLabelStep;
    c.DrawText(Rect{0, y, kPlotLeft - 2, y + 10}, label, plat::TextFlag::Right | plat::TextFlag::SingleLine);
  }
}

void DrawTimes(plat::Canvas& c, const Rect& client) {
  char text[32];
  c.SetTextColor(kWhite);
  Rect row{kPlotLeft, kPlotBottom + 2, client.right - 4, client.bottom};
  if (gGraph.window.first.present) {
    records::FormatGraphTime(gGraph.window.first, true, text, sizeof text);
    c.DrawText(row, text, plat::TextFlag::Left | plat::TextFlag::SingleLine);
  }
  if (gGraph.window.last.present) {
    records::FormatGraphTime(gGraph.window.last, true, text, sizeof text);
    c.DrawText(row, text, plat::TextFlag::Right | plat::TextFlag::SingleLine);
  }
  char16_t position[48];
  records::FormatGraphScrollPosition(position, 48, gGraph.scrollOffset, gGraph.hoursAvailable);
  c.DrawText(Rect{kPlotLeft, 2, client.right - 4, kPlotTop - 2}, position,
             plat::TextFlag::Center | plat::TextFlag::SingleLine);
}

void OnDrawPaint(plat::Hwnd draw, plat::PaintContext& pc) {
  plat::Canvas& c = *pc.canvas;
  Rect client = plat::GetClientRect(draw);
  c.FillRect(client, kBlack);
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
  c.FrameRect(Rect{kPlotLeft - 1, kPlotTop - 1, kPlotLeft + records::kGraphPoints + 1, kPlotBottom + 1}, kFrame, 1);
  if (!gGraph.loaded) return;
  lnk::DryerStatus s;
  lnk::TakeStatusSnapshot(s);
  bool celsius = (s.b[lnk::kStatusDisplayOptions] & lnk::kDisplayOptionsCelsius) != 0;
  c.SetFont(gGraph.small);
  int shown = 0;
  for (int t = 0; t < records::kGraphTraceCount; ++t) {
    if (!TraceOn(t)) continue;
    const records::GraphTraceData& data = gGraph.window.traces[t];
    for (int p = 0; p < records::kGraphPoints; ++p)
      gGraph.points[p] = plat::Point{kPlotLeft + p, kPlotBottom - data.heights[p]};
    c.DrawPolyline(gGraph.points, records::kGraphPoints, kTraceButtons[t].pen, 1);
    DrawLabels(c, shown++, t, celsius);
  }
  c.SetFont(gGraph.font);
  DrawTimes(c, client);
}

}  // namespace

int GraphScrollOffset() { return gGraph.scrollOffset; }

plat::LResult GraphWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  if (msg == kMsgRefresh) {
    LoadGraph(h);
    return 0;
  }
  switch (msg) {
    case plat::Msg::Show:
      if (w != 0) LoadGraph(h);
      return 0;
    case plat::Msg::Create:
      gGraph.font = plat::CreateFont(plat::kFaceTahoma, 13, plat::FontWeight::Normal);
      gGraph.small = plat::CreateFont(plat::kFaceTahoma, 10, plat::FontWeight::Normal);
      OnGraphCreate(h);
      return 0;
    case plat::Msg::Paint:
      plat::PaintFrom(l).canvas->FillRect(plat::GetClientRect(h), kBlack);
      return 0;
    case plat::Msg::DrawItem:
      DrawTraceButton(plat::DrawItemFrom(l));
      return 1;
    case plat::Msg::HScroll:
      OnScroll(h, w);
      return 0;
    case plat::Msg::Command:
      OnGraphCommand(h, plat::CommandId(w));
      return 0;
    default:
      return plat::DefWindowProc(h, msg, w, l);
  }
}

plat::LResult DrawGraphWindowProc(plat::Hwnd h, plat::Msg msg, plat::WParam w, plat::LParam l) {
  switch (msg) {
    case plat::Msg::Paint:
      OnDrawPaint(h, plat::PaintFrom(l));
      return 0;
    default:
      return plat::DefWindowProc(h, msg, w, l);
  }
}

}  // namespace screens
