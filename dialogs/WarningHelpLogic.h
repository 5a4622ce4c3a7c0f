#pragma once
// Which picture and text the warning help dialog (169) shows for a warning, and the frames of
// the rear-discharge animation that stands in for one picture.
#include <cstddef>

namespace dialogs {

struct HelpSubject {
  int node;
  int code;
};
// The warning whose picture and text are shown: the six fan/heater nodes share node 2's.
HelpSubject HelpSubjectFor(int node, int code);
// The warning whose picture is shown: as above, and codes 2 to 7 of every node share the
// picture of code 2.
HelpSubject HelpPictureSubject(int node, int code);
// The rear-discharge warning (node 14, code 5) shows an animation instead of its picture.
bool IsRearDischarge(int node, int code);
inline constexpr int kHelpAnimationFrames = 7;
// The frame of the animation, advanced by the tenth-second tick: 0..6, then 0 again.
inline int NextHelpFrame(int frame) { return frame >= kHelpAnimationFrames - 1 ? 0 : frame + 1; }
// The picture file of an animation frame 0..6, and its path in the English folder.
const char* RearDischargePicture(int frame);
void FormatRearDischargePath(char* out, size_t size, int frame);
inline constexpr const char* kNoHelpText = "NO TEXT FILE AVAILABLE.";

}  // namespace dialogs
