#include "screens/WarningLogic.h"

#include <cstdio>

#include "link/Temperature.h"
#include "i18n/TextWrap.h"
#include "i18n/LineText.h"
#include "screens/StatusReading.h"

namespace {


constexpr int kFanCode = 5;

constexpr plat::Color kTitleBlue = plat::Rgb(0, 0, 255);
constexpr plat::Color kNoteBlue = plat::Rgb(0, 0, 200);
constexpr plat::Color kNoteRed = plat::Rgb(175, 0, 0);

constexpr int kNoteFont = 16;
constexpr int kNoteWeight = 700;
constexpr int kCallServiceWeight = 900;

constexpr plat::Point kMarkerOrigin = {105, 70};
constexpr int kMarkerStep = 10;
constexpr int kMarkerLength = 15;

bool IsFanHeaterNode(int node) { return node >= lnk::kNodeFanHeater1 && node <= lnk::kNodeFanHeater6; }

WarningNote Note(uint16_t id, plat::Rect place, plat::Color colour) {
  return WarningNote{id, place, kNoteFont, kNoteWeight, colour};
}

}  // namespace

WarningContent ChooseWarningContent(const lnk::DryerStatus& s, uint32_t linkAliveCountdown) {
  if (linkAliveCountdown == 0) return WarningContent::ConnectionLost;
  if (s.b[lnk::kStatusWarningNode] != 0 || s.b[lnk::kStatusWarningId] != 0) return WarningContent::Details;
  return WarningContent::Empty;
}

WarningStyle ChooseWarningStyle(const lnk::DryerStatus& s) {
  if (StatusHas(s, lnk::kStatusSwitches, lnk::kSwitchesTemperatureStyle)) return WarningStyle::Temperature;
  if (StatusHas(s, lnk::kStatusSwitches, lnk::kSwitchesCountdownStyle)) return WarningStyle::Countdown;
  return WarningStyle::Plain;
}

WarningTitle ChooseWarningTitle(const lnk::DryerStatus& s, bool titlePhase) {
  WarningTitle t{};
  t.visible = titlePhase;
  switch (ChooseWarningStyle(s)) {
    case WarningStyle::Temperature:
      t.textId = kWarningTextTemperatureTitle;
      t.place = {50, 0, 575, 25};
      t.fontHeight = 30;
      t.colour = kTitleBlue;
      break;
    case WarningStyle::Countdown:
      t.textId = kWarningTextCountdownTitle;
      t.withCountdown = true;
      t.minutes = s.b[lnk::kStatusChart267];
      t.seconds = s.b[lnk::kStatusChart267 + 1];
      t.place = {50, 5, 575, 45};
      t.fontHeight = 40;
      t.colour = kTitleBlue;
      break;
    case WarningStyle::Plain:
      t.textId = kWarningTextTitle;
      t.place = {50, 0, 575, 50};
      t.fontHeight = 40;
      t.colour = colour::kRed;
      break;
  }
  return t;
}

size_t FormatWarningTitle(const WarningTitle& title, const char16_t* text, char16_t* out,
                          size_t size) {
  LineText line(out, size);
  line.Add(text);
  if (title.withCountdown) {
    char numbers[24];
    std::snprintf(numbers, sizeof numbers, ": %d:%02d", title.minutes, title.seconds);
    line.AddLatin1(numbers);
  }
  return line.Length();
}

int WarningGrainTemperature(const lnk::DryerStatus& s) {
  int f = 0;
  ReadDryerGrainTemperature(s, f);
  return f;
}

void FormatWarningGrainTemperature(char* out, size_t size, int fahrenheit) {
  std::snprintf(out, size, "GRAIN TEMPERATURE: %d %c F", fahrenheit, lnk::kDegreeSign);
}

int ChooseWarningNotes(const lnk::DryerStatus& s, WarningNote (&notes)[kMaxWarningNotes]) {
  int n = 0;
  notes[n++] = WarningNote{kWarningTextCallService, {25, 200, 575, 225}, kNoteFont, kCallServiceWeight,
                           colour::kGreen};
  WarningStyle style = ChooseWarningStyle(s);
  if (s.b[lnk::kStatusWarningId] == kFanCode && IsFanHeaterNode(s.b[lnk::kStatusWarningNode])) {
    if (style == WarningStyle::Temperature) {
      notes[n++] = Note(kWarningTextFanTemperatureNote1, {25, 220, 575, 250}, kNoteRed);
      notes[n++] = Note(kWarningTextFanTemperatureNote2, {25, 270, 575, 290}, kNoteRed);
    } else {
      notes[n++] = Note(kWarningTextFanNote1, {25, 220, 575, 250}, kNoteBlue);
      notes[n++] = Note(kWarningTextFanNote2, {25, 250, 575, 270}, kNoteRed);
      notes[n++] = Note(kWarningTextFanNote3, {25, 270, 575, 290}, kNoteRed);
    }
  }
  // The countdown note would land on the first fan note; the fan notes say more.
  if (style == WarningStyle::Countdown && n == 1)
    notes[n++] = Note(kWarningTextCountdownNote, {25, 220, 575, 250}, kNoteBlue);
  return n;
}

int SplitWarningText(const char16_t* text, char16_t* first, char16_t* second) {
  size_t length = 0;
  while (text[length] != 0) ++length;
  if (length < kWarningOneLineLimit) {
    for (size_t i = 0; i <= length; ++i) first[i] = text[i];
    second[0] = 0;
    return 1;
  }
  i18n::SplitInTwoLines(text, first, second, kWarningCutLength);
  return 2;
}

void StepMarkerSweep(MarkerSweep& m) {
  if (m.upward) {
    if (m.position < kMarkerLastPosition) ++m.position;
    else m.upward = false;
  } else {
    if (m.position > 0) --m.position;
    else m.upward = true;
  }
}

plat::Point MarkerStart(const MarkerSweep& m) {
  return {kMarkerOrigin.x + kMarkerStep * m.position, kMarkerOrigin.y};
}

plat::Point MarkerEnd(const MarkerSweep& m) {
  return {kMarkerOrigin.x + kMarkerLength + kMarkerStep * m.position, kMarkerOrigin.y};
}

