#include "screens/Animation.h"

namespace screens {
namespace {
TickPhases gPhases;
}  // namespace

TickPhases& Phases() { return gPhases; }

}  // namespace screens
