#pragma once
// The automation script (--script FILE): one command a line, run through the message queue so
// that modal dialogs and message boxes answer it as they would a finger.
//   wait MS              the next command comes MS milliseconds later
//   touch X Y            a finger down and up at screen point X, Y
//   press CONTROL_ID     a click on that control of the topmost window or dialog
//   screenshot FILE.png  the composed screen as a PNG (relative to the working directory)
//   stall MS             holds the message loop for MS milliseconds of real time (a hung handler)
//   quit                 posts the quit message
// Empty lines and lines starting with '#' are skipped. A bad line is reported on standard
// error with its line number and stops the script; the program goes on.
#include <cstddef>
#include <cstdint>

namespace plat {

inline constexpr size_t kMaxScriptBytes = 64 * 1024;

enum class ScriptResult : uint8_t { Ok, OpenFailed, TooLong };
const char* ScriptResultText(ScriptResult r);

// The first command runs when the loop next looks for work.
ScriptResult StartScriptFile(const char* hostPath);
ScriptResult StartScriptText(const char* text);
void StopScript();
bool ScriptRunning();
// Line number of the line that stopped the script (0: none) and what was wrong with it.
int ScriptErrorLine();
const char* ScriptErrorText();

// Used by the message loop: when the next step is due (UINT64_MAX when none), and the step.
uint64_t ScriptNextDueMs();
void RunScriptStep();

}  // namespace plat
