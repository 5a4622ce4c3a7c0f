#pragma once
// VERIFY(cond) states what the code relies on: a switch that covers every case, a handle that
// names a control. Builds with fatal checks (the tests and the sanitizer builds) stop at the
// first one that fails, so the fault shows where it happens; other builds write it to standard
// error once per place and go on as the code did before.
namespace plat {

void VerifyFailed(const char* condition, const char* file, int line);
// Whether a failed check stops the program (set by the build; tests may ask).
bool VerifyIsFatal();

}  // namespace plat

#define VERIFY(cond) \
  ((cond) ? static_cast<void>(0) : ::plat::VerifyFailed(#cond, __FILE__, __LINE__))
#define VERIFY_NOT_REACHED() ::plat::VerifyFailed("not reached", __FILE__, __LINE__)
