#pragma once
// The full-screen selection screens that have no buttons of their own yet: EXIT only.

namespace screens {

inline constexpr int kSelectionExit = 1003;

}  // namespace screens
