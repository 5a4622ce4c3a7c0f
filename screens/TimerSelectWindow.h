#pragma once
// TIMER_SELECT_WINDOW: four timer panels (child windows with their own ids) and EXIT.

namespace screens {

inline constexpr int kTimerSelectExit = 1003;
inline constexpr int kTimerFirstPanelId = 1010;  // one id a panel, in TimerPanel order

}  // namespace screens
