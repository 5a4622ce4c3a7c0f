#include "sim/Watchdog.h"

#include "link/RegisterMap.h"

namespace {

// When the newest request the controller heard came in; before the start when it heard none,
// or when every request the log still holds came while it was silent.
double LastHeardS(const Simulator& sim) {
  SimLoggedRequest log[kSimRequestLogSize];
  const int n = SimRecentRequests(sim, log, kSimRequestLogSize);
  for (int i = n - 1; i >= 0; --i)
    if (!log[i].unheard) return log[i].timeS;
  return 0;
}

}  // namespace

void SimWatchdogSecond(Simulator& sim) {
  const uint8_t v = sim.reg[lnk::kStatusWatchdog];
  if ((v & lnk::kWatchdogOnBit) == 0 || !sim.running) return;
  const int seconds = v & lnk::kWatchdogSecondsMask;
  if (seconds == 0) return;
  if (sim.timeS - LastHeardS(sim) >= seconds) SimPressStop(sim);
}
