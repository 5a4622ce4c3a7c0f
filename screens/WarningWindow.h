#pragma once
// WARNING_WINDOW: the warning the controller reports, or the connection-lost picture while the
// link is down; its HELP button opens the warning help dialog.

namespace screens {

inline constexpr int kWarningHelpButton = 34884;

}  // namespace screens
