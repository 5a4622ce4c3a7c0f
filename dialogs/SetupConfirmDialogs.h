#pragma once
// The two confirmations of the setup screens, each a question with YES, NO and CANCEL that a
// YES turns into a setting request:
//   597 the units of measure: English (degrees F, bushels) or metric SI (degrees C, tons);
//   598 the metering roll reverse option, on or off (page 0 register 49 bit 4).
// The setup screen's units and metering roll reverse buttons ask the same questions.
#include <cstdint>

#include "platform/MessageBox.h"
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kUnitsConfirmDialogId = 597;
inline constexpr int kMeterRollReverseDialogId = 598;

// Which question is asked depends on the state the panel last asked for (below).
struct ConfirmQuestion {
  uint16_t textId;
  uint16_t captionId;
  const char* text;     // the English text, used when the language has none
  const char* caption;
  plat::MbIcon icon;
};
const ConfirmQuestion& UnitsQuestion(bool siUnitsOn);
const ConfirmQuestion& MeterRollReverseQuestion(bool optionActive);

// The units the panel shows are the controller's: page 1 register 10 bit 7 as the last status
// frame reports it. The panel keeps no copy of its own, so a change made at the controller is
// followed, and after a restart the panel shows what the controller kept. A change made here is
// a request for that bit; the question asked is chosen by the bit as last requested while that
// request is not yet echoed, else by the status.
bool SiUnitsWanted();
bool MeterRollReverseWanted();

// Ask the question modally over `parent`; YES sends the change. Return the answer (plat::IdYes,
// plat::IdNo or plat::IdCancel).
int OpenUnitsConfirmDialog(plat::Hwnd parent);
int OpenMeterRollReverseDialog(plat::Hwnd parent);

}  // namespace dialogs
