#include "dialogs/SetupConfirmDialogs.h"

#include "i18n/Language.h"
#include "link/RegisterMap.h"
#include "link/SettingRequest.h"

namespace dialogs {
namespace {

using lnk::CommandRow;

constexpr ConfirmQuestion kToEnglish{.textId = 873, .captionId = 874,
                                     .text = "Switch to English Units (Fahrenheit, bushels, etc.)?",
                                     .caption = "SWITCH TO ENGLISH UNITS OF MEASURE",
                                     .icon = plat::MbIcon::Information};
constexpr ConfirmQuestion kToSi{.textId = 875, .captionId = 876,
                                .text = "Switch to Metric (SI) Units (Celsius, metric ton, etc.)?",
                                .caption = "SWITCH TO SI UNITS OF MEASURE",
                                .icon = plat::MbIcon::Information};
constexpr ConfirmQuestion kDeactivate{.textId = 877, .captionId = 879,
                                      .text = "Do you wish to DEACTIVATE the Metering Roll Reverse Option?",
                                      .caption = " METERING ROLL REVERSE OPTION",
                                      .icon = plat::MbIcon::Question};
constexpr ConfirmQuestion kActivate{.textId = 878, .captionId = 879,
                                    .text = "Do you wish to ACTIVATE the Metering Roll Reverse Option?",
                                    .caption = " METERING ROLL REVERSE OPTION",
                                    .icon = plat::MbIcon::Question};

constexpr int kDisplayOptionsRegister = lnk::kRequestDisplayOptions;
constexpr int kSetup49Register = lnk::kStatusSetup49;

// The request byte is the panel's newest word on the register while it is pending or not yet
// echoed; otherwise it is loaded from the status first.
bool WantedBit(int reg, uint8_t bit, CommandRow row) {
  lnk::LoadRequestByteFromStatus(reg, row);
  return (lnk::ReadRequestByte(reg) & bit) != 0;
}

void Text(uint16_t id, const char* english, char16_t (&out)[i18n::kStringDestUnits]) {
  i18n::GetString(id, out);
  if (out[0] == 0) plat::CopyText(out, i18n::kStringDestUnits, english);
}

int Ask(plat::Hwnd parent, const ConfirmQuestion& q) {
  char16_t text[i18n::kStringDestUnits];
  char16_t caption[i18n::kStringDestUnits];
  Text(q.textId, q.text, text);
  Text(q.captionId, q.caption, caption);
  return plat::MessageBox(parent, text, caption, plat::MbButtons::YesNoCancel, q.icon);
}

// Asks about the bit as wanted now; YES requests the other state.
int ConfirmToggle(plat::Hwnd parent, const ConfirmQuestion& q, int reg, uint8_t bit, CommandRow row, bool on) {
  const int answer = Ask(parent, q);
  if (answer == plat::IdYes) lnk::RequestBits(reg, on ? 0 : bit, on ? bit : 0, row);
  return answer;
}

}  // namespace

const ConfirmQuestion& UnitsQuestion(bool siUnitsOn) { return siUnitsOn ? kToEnglish : kToSi; }
const ConfirmQuestion& MeterRollReverseQuestion(bool optionActive) {
  return optionActive ? kDeactivate : kActivate;
}

bool SiUnitsWanted() {
  return WantedBit(kDisplayOptionsRegister, lnk::kDisplayOptionsCelsius, CommandRow::DisplayOptions);
}

bool MeterRollReverseWanted() {
  return WantedBit(kSetup49Register, lnk::kSetup49MeterRollReverse, CommandRow::SetupByte49);
}

int OpenUnitsConfirmDialog(plat::Hwnd parent) {
  const bool on = SiUnitsWanted();
  return ConfirmToggle(parent, UnitsQuestion(on), kDisplayOptionsRegister, lnk::kDisplayOptionsCelsius,
                       CommandRow::DisplayOptions, on);
}

int OpenMeterRollReverseDialog(plat::Hwnd parent) {
  const bool on = MeterRollReverseWanted();
  return ConfirmToggle(parent, MeterRollReverseQuestion(on), kSetup49Register, lnk::kSetup49MeterRollReverse,
                       CommandRow::SetupByte49, on);
}

}  // namespace dialogs
