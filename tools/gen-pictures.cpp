// Draws the pictures of one language pack from that language's own texts:
//
//   gen-pictures PACK_DIR STRINGS_FILE_NAME
//
// writes the 77 button pictures into PACK_DIR/Bitmaps (caption of picture k is string
// kPictureCaptionBase + k) and one picture per shown warning into PACK_DIR/WarningBitmaps
// (the warning's description from the pack's warnings files). Captions are wrapped into the
// button and drawn at the largest font height that lets them fit, so a longer translation
// gets a smaller font instead of being cut.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "i18n/Language.h"
#include "i18n/Resources.h"
#include "i18n/StringIds.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Font.h"
#include "platform/Text.h"

namespace {

using plat::Canvas;
using plat::Color;
using plat::Rect;
using plat::Rgb;

struct PictureStyle {
  int first;
  int last;
  int width;
  int height;
  Color face;
  Color text;
};

// Sizes follow the places the screens copy the pictures to.
constexpr PictureStyle kStyles[] = {
    {.first = 1, .last = 5, .width = 105, .height = 40, .face = Rgb(30, 60, 140), .text = Rgb(255, 255, 255)},
    {.first = 6, .last = 6, .width = 150, .height = 60, .face = Rgb(0, 110, 60), .text = Rgb(255, 255, 255)},
    {.first = 7, .last = 11, .width = 100, .height = 40, .face = Rgb(60, 60, 160), .text = Rgb(255, 255, 255)},
    {.first = 12, .last = 17, .width = 150, .height = 45, .face = Rgb(170, 40, 30), .text = Rgb(255, 255, 255)},
    {.first = 18, .last = 18, .width = 100, .height = 40, .face = Rgb(150, 110, 20), .text = Rgb(255, 255, 255)},
    {.first = 19, .last = 22, .width = 150, .height = 45, .face = Rgb(170, 40, 30), .text = Rgb(255, 255, 255)},
    {.first = 23, .last = 40, .width = 150, .height = 60, .face = Rgb(40, 80, 120), .text = Rgb(255, 255, 255)},
    {.first = 41, .last = 41, .width = 158, .height = 41, .face = Rgb(120, 20, 20), .text = Rgb(255, 255, 255)},
    {.first = 42, .last = 46, .width = 200, .height = 50, .face = Rgb(30, 60, 140), .text = Rgb(255, 255, 255)},
    {.first = 47, .last = 47, .width = 150, .height = 60, .face = Rgb(40, 80, 120), .text = Rgb(255, 255, 255)},
    {.first = 48, .last = 49, .width = 150, .height = 60, .face = Rgb(0, 110, 60), .text = Rgb(255, 255, 255)},
    {.first = 50, .last = 61, .width = 150, .height = 45, .face = Rgb(200, 170, 90), .text = Rgb(40, 30, 0)},
    {.first = 62, .last = 62, .width = 150, .height = 50, .face = Rgb(0, 140, 40), .text = Rgb(255, 255, 255)},
    {.first = 63, .last = 63, .width = 150, .height = 60, .face = Rgb(40, 80, 120), .text = Rgb(255, 255, 255)},
    {.first = 64, .last = 64, .width = 110, .height = 33, .face = Rgb(200, 0, 200), .text = Rgb(255, 255, 255)},
    {.first = 65, .last = 65, .width = 110, .height = 33, .face = Rgb(200, 200, 0), .text = Rgb(0, 0, 0)},
    {.first = 66, .last = 66, .width = 110, .height = 33, .face = Rgb(0, 160, 0), .text = Rgb(255, 255, 255)},
    {.first = 67, .last = 67, .width = 110, .height = 33, .face = Rgb(0, 170, 170), .text = Rgb(0, 0, 0)},
    {.first = 68, .last = 68, .width = 110, .height = 33, .face = Rgb(220, 120, 0), .text = Rgb(0, 0, 0)},
    {.first = 69, .last = 69, .width = 110, .height = 33, .face = Rgb(200, 0, 0), .text = Rgb(255, 255, 255)},
    {.first = 70, .last = 71, .width = 150, .height = 45, .face = Rgb(170, 40, 30), .text = Rgb(255, 255, 255)},
    {.first = 72, .last = 72, .width = 200, .height = 50, .face = Rgb(200, 140, 0), .text = Rgb(0, 0, 0)},
    {.first = 73, .last = 73, .width = 150, .height = 60, .face = Rgb(0, 110, 60), .text = Rgb(255, 255, 255)},
};
constexpr int kRearDischargeFirst = 74;
constexpr int kRearDischargeLast = 77;
constexpr int kLargeWidth = 500;
constexpr int kLargeHeight = 400;
constexpr int kMinCaptionHeight = 9;
constexpr int kSharedPictureCode = 2;
constexpr int kSharedPictureLast = 7;
constexpr int kMaxCaptionHeight = 18;

char16_t gStrings[i18n::kStringCount][i18n::kCellUnits];
uint8_t gBytes[64 * 1024];

bool ReadPackFile(const std::string& path, size_t limit, size_t& got) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  got = std::fread(gBytes, 1, limit < sizeof gBytes ? limit : sizeof gBytes, f);
  std::fclose(f);
  return true;
}

const char16_t* Caption(int id) { return id >= 1 && id <= i18n::kStringCount ? gStrings[id - 1] : u""; }

const PictureStyle* StyleOf(int index) {
  for (const PictureStyle& s : kStyles)
    if (index >= s.first && index <= s.last) return &s;
  return nullptr;
}

bool WordsFit(plat::FontHandle font, const char16_t* text, int width) {
  size_t start = 0;
  const size_t n = plat::Utf16Length(text);
  for (size_t i = 0; i <= n; ++i) {
    if (i == n || text[i] == u' ') {
      if (i > start && plat::TextWidth(font, text + start, i - start) > width) return false;
      start = i + 1;
    }
  }
  return true;
}

// The largest bold Tahoma that shows the whole text inside `room`.
plat::FontHandle FittingFont(const char16_t* text, const Rect& room, int largest) {
  plat::FontHandle font;
  for (int h = largest; h >= kMinCaptionHeight; --h) {
    font = plat::CreateFont(plat::kFaceTahoma, h, plat::FontWeight::Bold);
    const plat::TextExtent e = plat::MeasureText(font, text, plat::Utf16Length(text), room.Width(), true);
    if (e.height <= room.Height() && WordsFit(font, text, room.Width())) return font;
  }
  return font;
}

void DrawBevel(Canvas& c, const Rect& r, Color face) {
  c.FillRect(r, face);
  const Color light = Rgb(face.r / 2 + 128, face.g / 2 + 128, face.b / 2 + 128);
  const Color dark = Rgb(face.r / 3, face.g / 3, face.b / 3);
  for (int i = 0; i < 2; ++i) {
    c.DrawLine(r.left + i, r.top + i, r.right - 1 - i, r.top + i, light);
    c.DrawLine(r.left + i, r.top + i, r.left + i, r.bottom - 1 - i, light);
    c.DrawLine(r.left + i, r.bottom - 1 - i, r.right - i, r.bottom - 1 - i, dark);
    c.DrawLine(r.right - 1 - i, r.top + i, r.right - 1 - i, r.bottom - 1 - i, dark);
  }
}

bool Save(const std::string& path, const Canvas& c) {
  if (plat::SaveBmpFile(path.c_str(), c.View())) return true;
  std::fprintf(stderr, "%s: cannot write\n", path.c_str());
  return false;
}

bool DrawButton(int index, const PictureStyle& s, const std::string& folder) {
  Canvas c(s.width, s.height);
  const Rect all{0, 0, s.width, s.height};
  DrawBevel(c, all, s.face);
  const char16_t* text = Caption(i18n::kPictureCaptionBase + index);
  const Rect room{4, 2, s.width - 4, s.height - 2};
  c.SetFont(FittingFont(text, room, kMaxCaptionHeight));
  c.SetTextColor(s.text);
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
  c.DrawText(room, text, plat::TextFlag::Center | plat::TextFlag::VCenter | plat::TextFlag::WordBreak);
  return Save(folder + "/" + i18n::kBitmapNames[index], c);
}

// The rear of the dryer with the discharge auger and its door, and above it a magnified view
// of the door that opens a little more in each of the four frames, with grain running out.
// The help dialog repaints only kRearDischargeMoving while it animates, so everything that
// changes from frame to frame lies inside it and the rest is the same in every frame.
constexpr Rect kRearDischargeMoving{140, 20, 390, 150};  // the dialog's region, less the picture's place
constexpr Rect kRearDischargeInset{160, 28, 380, 146};
static_assert(kRearDischargeInset.left >= kRearDischargeMoving.left &&
              kRearDischargeInset.top >= kRearDischargeMoving.top &&
              kRearDischargeInset.right <= kRearDischargeMoving.right &&
              kRearDischargeInset.bottom <= kRearDischargeMoving.bottom);

void DrawRearDischargeInset(Canvas& c, int frame) {
  const Rect& inset = kRearDischargeInset;
  c.FillRect(inset, Rgb(250, 250, 245));
  c.FrameRect(inset, Rgb(40, 40, 40), 2);
  const Rect wall{inset.left + 10, inset.top + 10, 250, inset.bottom - 8};
  c.FillRect(wall, Rgb(150, 150, 160));
  for (int y = wall.top + 12; y < wall.bottom; y += 16) c.DrawLine(wall.left + 6, y, wall.right - 18, y, Rgb(110, 110, 120));
  c.FillRect(Rect{236, 70, 250, 130}, Rgb(60, 50, 40));
  const int floor = inset.bottom - 8;
  c.DrawLine(250, floor, inset.right - 6, floor, Rgb(90, 90, 90), 3);

  // Grain out of the opening: a heap that grows as the door opens, and a stream that
  // lengthens in front of the door.
  const Color grain = Rgb(200, 160, 60);
  const int heap = 4 + frame * 6;
  const plat::Point pile[] = {{270, floor - 1}, {300, floor - 1 - heap}, {340, floor - 1}};
  c.FillPolygon(pile, 3, grain);

  // The door, hinged on the wall's edge, swings out toward the viewer.
  const int open = 10 + frame * 16;
  const plat::Point door[] = {{250, 70}, {250 + open, 70 - open / 4}, {250 + open, 130 - open / 4}, {250, 130}};
  c.FillPolygon(door, 4, Rgb(220, 60, 40));
  c.DrawPolyline(door, 4, Rgb(60, 0, 0), 2);
  const int kernels = 2 + frame * 3;
  for (int k = 0; k < kernels; ++k) {
    const int t = k * 5 + (frame % 2) * 2;
    const int x = 244 + t;
    const int y = 116 + t * t / 45;
    if (y >= floor - 3) break;
    c.FillEllipse(Rect{x, y, x + 5, y + 4}, grain);
    c.FrameEllipse(Rect{x, y, x + 5, y + 4}, Rgb(120, 90, 20));
  }

  // The door switch's lamp: dark while the door has barely moved, lit after.
  const Rect lamp{inset.right - 28, inset.top + 8, inset.right - 12, inset.top + 24};
  c.FillEllipse(lamp, frame > 0 ? Rgb(255, 40, 0) : Rgb(90, 30, 30));
}

bool DrawRearDischarge(int index, const std::string& folder) {
  const int frame = index - kRearDischargeFirst;
  Canvas c(kLargeWidth, kLargeHeight);
  c.Clear(Rgb(235, 235, 235));
  const Rect body{150, 165, 350, 315};
  c.FillRect(body, Rgb(150, 150, 160));
  c.FrameRect(body, Rgb(40, 40, 40), 3);
  for (int y = 190; y < 305; y += 25) c.DrawLine(160, y, 340, y, Rgb(110, 110, 120));
  c.FillRect(Rect{100, 315, 400, 340}, Rgb(90, 90, 90));
  for (int x = 110; x < 390; x += 24) c.DrawLine(x, 317, x + 12, 338, Rgb(200, 200, 200), 3);
  // The door on the dryer, drawn shut: the view above shows it magnified.
  const Rect door{318, 262, 346, 312};
  c.FillRect(door, Rgb(220, 60, 40));
  c.FrameRect(door, Rgb(60, 0, 0), 2);
  c.DrawLine(door.left, door.top, kRearDischargeInset.left + 10, kRearDischargeInset.bottom + 2, Rgb(60, 60, 60));
  c.DrawLine(door.right, door.top, kRearDischargeInset.right - 10, kRearDischargeInset.bottom + 2, Rgb(60, 60, 60));
  DrawRearDischargeInset(c, frame);

  c.FillEllipse(Rect{420, 30, 480, 90}, Rgb(230, 180, 0));
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
  c.SetFont(plat::CreateFont(plat::kFaceTahoma, 40, plat::FontWeight::Bold));
  c.SetTextColor(Rgb(0, 0, 0));
  c.DrawText(Rect{420, 30, 480, 90}, u"!", plat::TextFlag::Center | plat::TextFlag::VCenter);
  // Every frame carries the first frame's caption, so the part left unpainted stays right.
  const char16_t* text = Caption(i18n::kPictureCaptionBase + kRearDischargeFirst);
  const Rect room{10, 345, kLargeWidth - 10, kLargeHeight - 5};
  c.SetFont(FittingFont(text, room, 24));
  c.DrawText(room, text, plat::TextFlag::Center | plat::TextFlag::VCenter | plat::TextFlag::WordBreak);
  return Save(folder + "/" + i18n::kBitmapNames[index], c);
}

bool DrawWarning(int node, int warning, const char16_t* description, const std::string& folder) {
  Canvas c(kLargeWidth, kLargeHeight);
  c.Clear(Rgb(255, 255, 255));
  c.FillRect(Rect{0, 0, kLargeWidth, 60}, Rgb(200, 0, 0));
  const plat::Point triangle[] = {{250, 90}, {330, 230}, {170, 230}};
  c.FillPolygon(triangle, 3, Rgb(250, 200, 0));
  c.DrawPolyline(triangle, 3, Rgb(0, 0, 0), 3);
  c.DrawLine(170, 230, 250, 90, Rgb(0, 0, 0), 3);
  c.SetBackgroundMode(plat::BackgroundMode::Transparent);
  c.SetFont(plat::CreateFont(plat::kFaceTahoma, 60, plat::FontWeight::Bold));
  c.SetTextColor(Rgb(0, 0, 0));
  c.DrawText(Rect{170, 120, 330, 230}, u"!", plat::TextFlag::Center | plat::TextFlag::VCenter);
  char heading[40];
  if (warning == kSharedPictureCode)
    std::snprintf(heading, sizeof heading, "%02d  /  %02d - %02d", node, kSharedPictureCode, kSharedPictureLast);
  else
    std::snprintf(heading, sizeof heading, "%02d  /  %02d", node, warning);
  c.SetFont(plat::CreateFont(plat::kFaceTahoma, 30, plat::FontWeight::Bold));
  c.SetTextColor(Rgb(255, 255, 255));
  c.DrawText(Rect{0, 0, kLargeWidth, 60}, heading, plat::TextFlag::Center | plat::TextFlag::VCenter);
  // The four hexadecimal digits lead every description; the picture shows the words only.
  const char16_t* words = plat::Utf16Length(description) > 5 ? description + 5 : description;
  const Rect room{15, 245, kLargeWidth - 15, kLargeHeight - 10};
  c.SetFont(FittingFont(words, room, 26));
  c.SetTextColor(Rgb(0, 0, 0));
  c.DrawText(room, words, plat::TextFlag::Center | plat::TextFlag::VCenter | plat::TextFlag::WordBreak);
  char name[64];
  std::snprintf(name, sizeof name, "/NID_%02d_WARNING_ID_%02d.bmp", node, warning);
  return Save(folder + name, c);
}

// Nodes 2 to 7 and codes 2 to 7 show the picture of node 2 and code 2, so only those
// pictures exist; every warning of the other codes has its own. The shared picture names
// the node's group of warnings (the warnings file's first line) rather than one of them.
bool DrawWarnings(const std::string& pack) {
  static char16_t rows[i18n::kWarningRows][i18n::kCellUnits];
  bool ok = true;
  for (const i18n::WarningTableInfo& t : i18n::kWarningTables) {
    if (t.nodeId >= 3 && t.nodeId <= 7) continue;
    size_t got = 0;
    if (!ReadPackFile(pack + "/" + t.fileName, i18n::kWarningsFileBytes, got)) {
      std::fprintf(stderr, "%s/%s: missing\n", pack.c_str(), t.fileName);
      ok = false;
      continue;
    }
    const int count = i18n::ParseLinesInto(gBytes, got, rows, i18n::kWarningRows - 1);
    for (int w = 1; w < count; ++w) {
      if (w > kSharedPictureCode && w <= kSharedPictureLast) continue;
      const char16_t* text = w == kSharedPictureCode ? rows[0] : rows[w];
      ok = DrawWarning(t.nodeId, w, text, pack + "/WarningBitmaps") && ok;
    }
  }
  return ok;
}

bool MakeFolder(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return !ec;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s PACK_DIR STRINGS_FILE_NAME\n", argv[0]);
    return 2;
  }
  const std::string pack = argv[1];
  size_t got = 0;
  if (!ReadPackFile(pack + "/" + argv[2], i18n::kStringsFileBytes, got)) {
    std::fprintf(stderr, "%s/%s: missing\n", pack.c_str(), argv[2]);
    return 1;
  }
  i18n::ParseLinesInto(gBytes, got, gStrings, i18n::kStringCount);
  if (!MakeFolder(pack + "/Bitmaps") || !MakeFolder(pack + "/WarningBitmaps")) return 1;
  bool ok = true;
  for (int index = 1; index < i18n::kBitmapNameCount; ++index) {
    if (index >= kRearDischargeFirst && index <= kRearDischargeLast) {
      ok = DrawRearDischarge(index, pack + "/Bitmaps") && ok;
    } else if (const PictureStyle* s = StyleOf(index)) {
      ok = DrawButton(index, *s, pack + "/Bitmaps") && ok;
    }
  }
  ok = DrawWarnings(pack) && ok;
  return ok ? 0 : 1;
}
