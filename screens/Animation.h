#pragma once
// Phases that the tenth-second tick advances and the screens read while painting (UI thread
// only). The dryer picture's own phases live in DryerPictureLogic.h.
namespace screens {

struct TickPhases {
  int helpFrame = 0;  // frame 0..6 of the rear-discharge picture in the warning help dialog
};
TickPhases& Phases();

}  // namespace screens
