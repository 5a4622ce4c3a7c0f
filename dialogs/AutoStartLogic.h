#pragma once
// What the auto-start dialogs show and send, apart from drawing: the state band of the status
// dialog, its progress rows and the outcomes of the confirmation's buttons.
#include <cstddef>
#include <cstdint>

#include "link/DryerStatus.h"
#include "platform/Canvas.h"

namespace dialogs {

inline constexpr int kAutoStartMaxUnits = 6;
inline constexpr const char* kAutoStartStatusUnknown = "Auto-Start Status Unkown";

// The band's text: a translated string, or the fixed unknown text when stringId is 0.
struct AutoStartBand {
  int stringId;
  plat::Color colour;
};
AutoStartBand ChooseAutoStartBand(const lnk::DryerStatus& s);

// Rows shown for the fan/heater configuration in byte 3; 0 for a code outside the table.
int AutoStartUnitCount(const lnk::DryerStatus& s);

// One unit's progress, in seconds, with both times already limited to the total.
struct AutoStartProgress {
  int first;
  int second;
  int total;
  bool on;  // bit 1 of the unit's flag byte: string 14, else 15
};
AutoStartProgress ReadAutoStartProgress(const lnk::DryerStatus& s, int unit);

// The three segments (blue, red, blue) of a bar `width` pixels long; they always add up to
// `width`, and a zero total leaves the whole bar to the last segment.
struct AutoStartSegments {
  int first;
  int second;
  int third;
};
AutoStartSegments ScaleAutoStartBar(const AutoStartProgress& p, int width);

// "%d:%02d" as minutes and seconds.
size_t FormatAutoStartTime(char* out, size_t size, int seconds);

bool AutoStartActive(const lnk::DryerStatus& s);

enum class AutoStartAnswer : uint8_t { Yes, No, Cancel };
// Sends what the answer means and says whether the main screens are to come back.
bool ApplyAutoStartAnswer(AutoStartAnswer answer, bool active);

}  // namespace dialogs
