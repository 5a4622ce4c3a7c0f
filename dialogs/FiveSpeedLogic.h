#pragma once
// The bracketed 5-speed setup (435) without its window: two bands around the setpoint, an outer
// and an inner one, each an offset of moisture (tenths of a percent in moisture mode 4, degrees F
// of grain temperature otherwise) paired with an offset of the metering speed, and the actual
// speeds they give.
#include <cstddef>
#include <cstdint>

#include "link/RegisterMap.h"

namespace lnk {
struct DryerStatus;
}

// Registers 0:226..0:229 in order.
struct FiveSpeedBands {
  uint8_t moistureOuter;
  uint8_t moistureInner;
  uint8_t speedOuter;
  uint8_t speedInner;
};

enum class BandPair : uint8_t { Outer, Inner };
enum class BandColumn : uint8_t { Moisture, Speed };

// Loads 0:226..0:229 into the request (pending rows keep theirs) and returns the copies.
FiveSpeedBands OpenFiveSpeedBands();
// INC (+1) or DEC (-1) of one offset; a step that would break a limit is ignored (false).
bool StepBand(FiveSpeedBands& b, int mode, BandPair pair, BandColumn column, int delta);
FiveSpeedBands FiveSpeedDefaults(int mode);
// ACCEPT / EXIT: raises each of the four registers that changed. Returns how many.
int AcceptFiveSpeed(const FiveSpeedBands& b);

// The metering speed the bands are centred on: the main (medium) speed the controller holds for
// a 5-speed mode, byte 230, else byte 157.
int CentreSpeed(const lnk::DryerStatus& s, int mode);

// The four actual speeds, in percent of full speed, from the top: +outer, +inner, -inner,
// -outer. Each is the centre speed plus or minus its offset in points of full speed. A speed
// the controller can never run is impossible and reported as -1: one outside 0..100 %, or,
// when the unload rates are set (maximum above minimum, registers 206..209), one outside them,
// since the controller clamps the metering speed to those rates.
inline constexpr int kImpossibleSpeed = -1;
struct BandSpeeds {
  int speed[4];
};
BandSpeeds ComputeBandSpeeds(int centre, const FiveSpeedBands& b, int maxRate, int minRate);
BandSpeeds BandSpeedsFor(const lnk::DryerStatus& s, int mode, const FiveSpeedBands& b);

// The centre line: "%d.%d %%" of the moisture setpoint in mode 4, "%d F" of the grain
// temperature setpoint otherwise. Offsets: "+%01d.%d %%" / "-%01d.%d %%" in mode 4,
// "+%01d F" / "-%01d F" otherwise. Speeds: "+%d %%" offsets and "%d %%" actual speeds, or
// "INVALID SELECTION".
void FormatCentreLine(char* out, size_t size, const lnk::DryerStatus& s, int mode);
void FormatMoistureOffset(char* out, size_t size, int mode, int offset, bool plus);
void FormatSpeedOffset(char* out, size_t size, int offset, bool plus);
void FormatActualSpeed(char* out, size_t size, int speed);

inline constexpr const char* kInvalidSelectionText = "INVALID SELECTION";
