#pragma once
// Starting another program (the manuals viewer) without waiting for it.
#include <cstddef>
#include <cstdint>

namespace plat {

enum class ProcessResult : uint8_t {
  Ok,
  NotFound,  // no such program on the search path
  Failed,    // it could not be started for another reason
};
const char* ProcessResultText(ProcessResult r);

// Starts `program` (looked up on PATH) with one argument and returns at once; the program's
// end is collected in the background, so nothing is left behind as a zombie.
ProcessResult StartProgram(const char* program, const char* argument);

// The folder of the running program's executable, as a host path; false when it cannot be
// read or does not fit `size`.
bool ProgramDir(char* out, size_t size);

// Calls `handler` when the process is asked to stop (SIGTERM, SIGINT). It runs in signal
// context: it may only set a flag or wake the loop.
void OnStopRequest(void (*handler)(int));
// Makes a folder (host path) with the usual permissions; false when it is not there after.
bool MakeHostFolder(const char* hostPath);

}  // namespace plat
