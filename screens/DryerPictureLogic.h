#pragma once
// DRYER_PIC_WINDOW without the window: the layout, which picture and frame each fan/heater unit
// and each moving element shows, the animation phases the tenth-second tick advances, and the
// lines of the status overlay. Pictures are named by resource number; the program draws them.
#include <cstddef>
#include <cstdint>

#include "platform/Canvas.h"

namespace lnk {
struct DryerStatus;
}

// String ids of the dryer picture's lines.
enum DryerPicText : uint16_t {
  kDryerPicTextModeLabel1 = 33,
  kDryerPicTextBatchState = 264,  // 264..268 by byte 257 bits 4..6
  kDryerPicTextBatchStateLast = 268,
  kDryerPicTextModeOneOn = 269,
  kDryerPicTextModeOneOff = 270,
  kDryerPicTextModeFourFive = 271,
  kDryerPicTextMeterOther = 272,
  kDryerPicTextMeterHigh = 273,
  kDryerPicTextMeterMedium = 274,
  kDryerPicTextMeterLow = 275,
  kDryerPicTextMeterAuto = 276,
  kDryerPicTextMeterAutoActive = 277,
  kDryerPicTextMeterChart = 278,
  kDryerPicTextRateSi = 279,
  kDryerPicTextRateEnglish = 280,
  kDryerPicTextNoSensor = 281,
  kDryerPicTextUnload = 282,
  kDryerPicTextTotalSi = 283,
  kDryerPicTextTotalEnglish = 284,
  kDryerPicTextGrainSetpoint = 288,
  kDryerPicTextNoGrainTemp = 295,
  kDryerPicTextBatchCounter = 296,
  kDryerPicTextGrainSetpointTwoHeat = 297,
};

enum class PictureLayout : uint8_t { A, B, C, D };
PictureLayout ChoosePictureLayout(const lnk::DryerStatus& s);

// ---- Animation phases (advanced by the tenth-second tick) ----

inline constexpr int kFrameCount = 3;
inline constexpr int kMaxUnits = 6;

struct AnimationPhases {
  int fan[kMaxUnits];  // fan 1..6
  int reverse;
  int running;
  int slowRunning;
  int pairA;
  int pairB;
  int slowCounter;
  int pairCounter;
};
// The phases the tenth-second tick advances and the picture's paint reads (UI thread only).
extern AnimationPhases gAnimationPhases;
// One tenth of a second: each phase moves only while its part of the dryer moves, so a stopped
// dryer's elements stand still at their last frame.
void AdvanceAnimationPhases(AnimationPhases& p, const lnk::DryerStatus& s);

// ---- Units ----

enum class UnitSet : uint8_t {
  P,  // off
  Q,  // fan turning
  R,  // status bit 1 without run bit 2
  S,  // alarm: status bit 1 with run bit 2
};

struct UnitPicture {
  UnitSet set;
  int resource;     // bitmap resource number of the frame to show
  plat::Rect place;
};

// Units shown for byte 3 (0 one, 1 two, 2 three, 3 four, 4 six); 0 for any other value.
int ShownUnitCount(const lnk::DryerStatus& s);
// Unit n (1..ShownUnitCount) of the layout.
UnitPicture ChooseUnitPicture(const lnk::DryerStatus& s, const AnimationPhases& p, PictureLayout layout,
                              int unit);

// ---- Tower and moving elements ----

struct PicturePlace {
  int resource;
  plat::Rect place;
};
PicturePlace TowerPicture(PictureLayout layout);

enum class MovingElement : uint8_t { Reverse, Running, SlowRunning, PairA, PairB };
inline constexpr int kMovingElementCount = 5;
PicturePlace ChooseElementPicture(const AnimationPhases& p, PictureLayout layout,
                                  MovingElement element);

// The blinking marker: toggles at every paint while its condition holds, cleared otherwise.
// Returns whether the marker is drawn in this paint.
bool StepBlinkMarker(bool& flag, const lnk::DryerStatus& s);
PicturePlace MarkerPicture(PictureLayout layout);

// The resource numbers of the program's own pictures: first frames of each three-frame set.
namespace picture {
inline constexpr int kTowerA = 280;
inline constexpr int kTowerB = 281;
inline constexpr int kTowerC = 282;
inline constexpr int kTowerD = 283;
inline constexpr int kUnitCP = 292;  // layout C (and D): P 292..294, Q 295..297,
inline constexpr int kUnitCQ = 295;  // S 301..303, R 304..306
inline constexpr int kUnitCS = 301;
inline constexpr int kUnitCR = 304;
inline constexpr int kUnitSmallP = 340;  // layouts A and B: smaller units
inline constexpr int kUnitSmallQ = 343;
inline constexpr int kUnitSmallS = 346;
inline constexpr int kUnitSmallR = 349;
inline constexpr int kReverse = 310;
inline constexpr int kRunning = 313;
inline constexpr int kSlowRunning = 316;
inline constexpr int kPairA = 319;
inline constexpr int kPairB = 322;
inline constexpr int kMarker = 325;
}  // namespace picture

// ---- Status overlay ----

inline constexpr plat::Color kGuideColour = plat::Rgb(175, 175, 175);

// One line: the label (GetString id, 0 for none) and the narrow text drawn after it, joined
// by a space when both are present.
struct OverlayLine {
  plat::Rect place;
  plat::Color colour;
  uint16_t textId;
  char text[24];
};
inline constexpr int kMaxOverlayLines = 16;
int MakeOverlayLines(const lnk::DryerStatus& s, PictureLayout layout,
                     OverlayLine (&lines)[kMaxOverlayLines]);
size_t FormatOverlayLine(const OverlayLine& line, const char16_t* label, char16_t* out,
                         size_t size);

// The grey guide lines from the labels to the picture and the ladder of strokes beside the
// status column (strokes every kLadderStep pixels from ladderTop to ladderBottom).
inline constexpr int kLadderStep = 10;
struct GuideLines {
  plat::Point from[2];
  plat::Point to[2];
  int ladderLeft, ladderRight;
  int ladderTop, ladderBottom;
};
GuideLines ChooseGuideLines(const lnk::DryerStatus& s, PictureLayout layout);
