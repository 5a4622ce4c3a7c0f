// The control panel's lights and switch inputs as the controller reports them: the plant sets
// them from the fans, burners, load and unload (Plant.cpp); here the forced ones are laid over
// them, as a service technician would move a switch or short a lamp wire.
#include "link/RegisterMap.h"
#include "sim/Plant.h"

namespace {

constexpr int kPanelIoBytes[] = {lnk::kStatusLights177, lnk::kStatusLights178, lnk::kStatusLoadFlags,       lnk::kStatusConnector180,
                                 lnk::kStatusConnector180 + 1, lnk::kStatusConnector180 + 2, lnk::kStatusControllerDisplayOptions,
                                 lnk::kStatusDryerTypeSwitch, lnk::kStatusLights239, lnk::kStatusLights240};

}  // namespace

bool PanelIoByte(int statusByte) {
  for (int b : kPanelIoBytes)
    if (b == statusByte) return true;
  return false;
}

void PanelIoStep(Simulator& sim) {
  const SimFaults& f = sim.faults;
  for (int i = 0; i < f.forcedCount && i < kSimForcedBitMax; ++i) {
    const SimForcedBit& b = f.forced[i];
    if (sim.timeS < b.fromS) continue;
    uint8_t& reg = sim.reg[b.byte];
    reg = static_cast<uint8_t>(b.value ? reg | b.mask : reg & ~b.mask);
  }
}
