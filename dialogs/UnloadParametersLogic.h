#pragma once
// The unload parameters dialog (513) without its window: the maximum and minimum unload rates in
// percent, their bushels per hour, the note on what that figure is based upon, and the rules of
// the questions that guard the maximum staying above the minimum.
#include <cstddef>
#include <cstdint>

namespace lnk {
struct DryerStatus;
}

struct UnloadRates {
  int maximum;  // percent, 0..100
  int minimum;
};

inline constexpr UnloadRates kDefaultUnloadRates = {80, 10};

// Loads 0:206..0:209 into the request (pending rows keep theirs) and returns them.
UnloadRates OpenUnloadRates();
// INCREASE (+1) or DECREASE (-1), kept within 0..100.
void StepUnloadRate(int& percent, int delta);
inline bool RatesOutOfOrder(const UnloadRates& r) { return r.minimum >= r.maximum; }

// The warning after a step is asked once per run of the program.
struct UnloadWarningState {
  bool shown = false;
};
UnloadWarningState& UnloadWarning();
// True when the step warning is to be asked now; marks it as asked.
bool TakeStepWarning(const UnloadRates& r);

// Bushels per hour at `percent`: from the length in feet and the roll size, or, on a series
// dryer, from the capacity of its model.
double BushelsPerHour(const lnk::DryerStatus& s, int percent);
int SeriesCapacity(int lengthCode);
// "%0.0f" of the bushels per hour.
void FormatBushels(char* out, size_t size, double bushels);
// The note under both groups; empty when the dryer type switch names neither kind.
void FormatBasedUpon(char* out, size_t size, const lnk::DryerStatus& s);

// ACCEPT: writes both rates (high byte first) and raises each that differs from the controller.
void AcceptUnloadRates(const UnloadRates& r);

inline constexpr const char* kUnloadRatesCaption = "ERROR SETTING MAX / MIN UNLOAD RATES";
inline constexpr const char* kUnloadStepQuestion =
    "The MAXIMUM unload rate must be greater than MINIMUM unload rate.  Set defaults?.";
inline constexpr const char* kUnloadAcceptQuestion =
    "The MAXIMUM unload rate must be greater than MINIMUM unload rate.  \t\t\t\t\t\t\t\t\t\t\tSet defaults?  "
    "Pressing YES will set defaults (Hi = 80% and Low = 10%).   \t\t\t\t\t\t\t\t\t\t\tPressing NO will not change the "
    "previous settings.";
