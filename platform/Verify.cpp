#include "platform/Verify.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace plat {
namespace {

#ifdef DRYER_VERIFY_FATAL
constexpr bool kFatal = true;
#else
constexpr bool kFatal = false;
#endif

// Places already reported, so a check failing at every tick does not flood the log.
constexpr int kMaxReported = 32;
struct Reported {
  const char* file = nullptr;
  int line = 0;
};
Reported g_reported[kMaxReported];
int g_reportedCount = 0;
std::mutex g_reportedLock;  // checks fail on the link thread too

bool AlreadyReported(const char* file, int line) {
  std::lock_guard<std::mutex> guard(g_reportedLock);
  for (int i = 0; i < g_reportedCount; ++i) {
    if (g_reported[i].line == line && std::strcmp(g_reported[i].file, file) == 0) return true;
  }
  if (g_reportedCount < kMaxReported) g_reported[g_reportedCount++] = Reported{file, line};
  return false;
}

}  // namespace

void VerifyFailed(const char* condition, const char* file, int line) {
  if (kFatal) {
    std::fprintf(stderr, "VERIFY failed: %s at %s:%d\n", condition, file, line);
    std::fflush(stderr);
    std::abort();
  }
  if (AlreadyReported(file, line)) return;
  std::fprintf(stderr, "VERIFY failed: %s at %s:%d\n", condition, file, line);
}

bool VerifyIsFatal() { return kFatal; }

}  // namespace plat
