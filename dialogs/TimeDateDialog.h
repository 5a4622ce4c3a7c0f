#pragma once
// Dialog 199 "SET TIME AND DATE - 41": sets the panel's clock, which the one-second tick sends
// to the controller. A date that does not exist is refused with a message, and the dialog
// stays open for the operator to correct it.
#include "platform/Window.h"

namespace dialogs {

inline constexpr int kTimeDateDialogId = 199;

// The fields, left to right.
enum class TimeDateField : int { Month, Day, Year, Hour, Minute, Count };
inline constexpr int kTimeDateFields = static_cast<int>(TimeDateField::Count);

// Control ids of field f at index f.
inline constexpr int kTimeDateLabels[kTimeDateFields] = {2001, 2002, 2003, 2004, 2005};
inline constexpr int kTimeDateValues[kTimeDateFields] = {2011, 2012, 2013, 2014, 2015};
inline constexpr int kTimeDateIncrease[kTimeDateFields] = {2021, 2022, 2023, 2024, 2025};
inline constexpr int kTimeDateDecrease[kTimeDateFields] = {2031, 2032, 2033, 2034, 2035};
enum TimeDateControl : int {
  kTimeDateHelp = 2040,
  kTimeDateAccept = 2041,
  kTimeDateCancel = 2042,
};

// The years the dialog offers: the controller takes the year modulo 100.
inline constexpr int kTimeDateFirstYear = 2000;
inline constexpr int kTimeDateLastYear = 2099;

// Runs the dialog modally over `parent`.
void OpenTimeDateDialog(plat::Hwnd parent);

}  // namespace dialogs
