#pragma once
// The hardware setup dialog (164) and the moisture sensor selection (613) without their
// windows: the working description, the SELECT steps with the allowed fan/heater counts, and
// what ACCEPT raises. The working copy is taken on opening from the request of a row whose flag
// is raised (a value the controller has not taken yet) and from the status record otherwise.
#include <cstdint>

#include "link/RegisterMap.h"

namespace lnk {
struct DryerStatus;
}  // namespace lnk

namespace dialogs {

struct HardwareSetup {
  uint8_t fanHeaters;   // byte 3 code
  uint8_t modules;      // byte 4 code
  uint8_t fuel;         // byte 5 code
  uint8_t loadSystem;   // byte 6 code
  uint8_t length;       // byte 7 index
  bool grainPresent;    // 1:23 bit 7
  bool cycledSampler;   // 1:37 bit 7
  bool series;          // the dryer type switch (byte 225 bit 5): the single-series layout
  bool fourInchRolls;   // byte 183 bit 1, shown only
};

enum class HardwareGroup : uint8_t { FanHeaters, Modules, Fuel, LoadSystem, Length };

bool SeriesDryer(const lnk::DryerStatus& s);
HardwareSetup OpenHardwareSetup(const lnk::DryerStatus& s);
// True when `code` is a fan/heater count the setup allows with its number of modules.
bool FanHeaterAllowed(const HardwareSetup& h, uint8_t code);
// SELECT of a group: the next value, wrapping to the first; fan/heaters step through the
// allowed counts only. A change of the number of modules pulls the fan/heaters into range.
void SelectNext(HardwareSetup& h, HardwareGroup group);
// The forced correction after the number of modules changed.
void ForceFanHeatersIntoRange(HardwareSetup& h);
// The grain present button is offered with more than one module, never on a series dryer.
bool GrainPresentOffered(const HardwareSetup& h);

// Raises each of registers 3..7, 1:23 and 1:37 whose wanted value differs from the controller's,
// and clears the dual-plenum bit of 1:1 when more than one fan/heater is chosen and the bit is
// set. Returns how many rows were raised.
int AcceptHardwareSetup(const HardwareSetup& h);

// ---- Moisture sensor selection (1:31) ----
uint8_t OpenSensorSelection(const lnk::DryerStatus& s);
// Raises 1:31 when `selection` differs from the controller's value; true when raised.
bool AcceptSensorSelection(uint8_t selection);

}  // namespace dialogs
