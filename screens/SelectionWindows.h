#pragma once
// The full-screen selection screens (setup, extended setup, auto-start configuration): their
// EXIT, and the setup option buttons the one-second tick shows or hides.

namespace screens {

inline constexpr int kSelectionExit = 1003;
inline constexpr int kExtendedSetupButtonA = 36987;
inline constexpr int kExtendedSetupButtonB = 36991;
inline constexpr int kSetupSelectionButton = 34867;

}  // namespace screens
