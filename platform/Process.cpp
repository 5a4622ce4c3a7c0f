#include "platform/Process.h"

#include <cerrno>
#include <cstdint>

#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace plat {

namespace {

constexpr const char* kProcessResultTexts[] = {"ok", "program not found", "start failed"};
static_assert(sizeof(kProcessResultTexts) / sizeof(kProcessResultTexts[0]) ==
              static_cast<size_t>(ProcessResult::Failed) + 1);

void* ReapChild(void* arg) {
  auto pid = static_cast<pid_t>(reinterpret_cast<intptr_t>(arg));
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return nullptr;
}

}  // namespace

const char* ProcessResultText(ProcessResult r) {
  auto i = static_cast<size_t>(r);
  return i < sizeof(kProcessResultTexts) / sizeof(kProcessResultTexts[0]) ? kProcessResultTexts[i]
                                                                          : "unknown";
}

ProcessResult StartProgram(const char* program, const char* argument) {
  if (!program || !program[0]) return ProcessResult::NotFound;
  char* argv[3] = {const_cast<char*>(program), const_cast<char*>(argument), nullptr};
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, program, nullptr, nullptr, argv, environ);
  if (rc == ENOENT || rc == ENOTDIR) return ProcessResult::NotFound;
  if (rc != 0) return ProcessResult::Failed;
  // A detached thread waits for the viewer, so the panel neither blocks nor keeps zombies.
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
  pthread_t reaper;
  if (pthread_create(&reaper, &attr, ReapChild, reinterpret_cast<void*>(static_cast<intptr_t>(pid))) != 0)
    waitpid(pid, nullptr, WNOHANG);
  pthread_attr_destroy(&attr);
  return ProcessResult::Ok;
}

bool ProgramDir(char* out, size_t size) {
  if (out == nullptr || size < 2) return false;
  const ssize_t n = ::readlink("/proc/self/exe", out, size - 1);
  if (n <= 0 || static_cast<size_t>(n) >= size - 1) return false;
  out[n] = 0;
  char* slash = nullptr;
  for (char* p = out; *p; ++p)
    if (*p == '/') slash = p;
  if (slash == nullptr) return false;
  slash[slash == out ? 1 : 0] = 0;
  return true;
}

void OnStopRequest(void (*handler)(int)) {
  struct sigaction sa {};
  sa.sa_handler = handler;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
}

bool MakeHostFolder(const char* hostPath) {
  if (::mkdir(hostPath, 0755) == 0) return true;
  struct stat st {};
  return ::stat(hostPath, &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace plat
