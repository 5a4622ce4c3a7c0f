#pragma once
// Running the built dryer-panel as a child process with bounded waits.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace e2e {

inline const char* PanelProgram() { return DRYER_BINARY_DIR "/bin/dryer-panel"; }

inline std::string MakeTempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && base[0] ? base : "/tmp") + "/panel-e2e-XXXXXX";
  char* made = ::mkdtemp(pattern.data());
  return made != nullptr ? std::string(made) : std::string();
}

struct TempDir {
  std::string path = MakeTempDir();
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

// Starts the panel with `args`; -1 when it could not be started.
inline pid_t StartPanel(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  std::string program = PanelProgram();
  argv.push_back(program.data());
  std::vector<std::string> copy = args;
  for (std::string& a : copy) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

// Starts the panel with `args`, its standard error going to the file `stderrPath` and the
// environment changed by `env` ("NAME=value" replaces NAME); -1 when it could not be started.
inline pid_t StartPanelLogged(const std::vector<std::string>& args, const std::string& stderrPath,
                              const std::vector<std::string>& env = {}) {
  std::vector<std::string> copy = args;
  std::string program = PanelProgram();
  std::vector<char*> argv{program.data()};
  for (std::string& a : copy) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> envCopy = env;
  std::vector<char*> envp;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    bool replaced = false;
    for (const std::string& v : env)
      if (entry.compare(0, v.find('=') + 1, v, 0, v.find('=') + 1) == 0) replaced = true;
    if (!replaced) envp.push_back(*e);
  }
  for (std::string& v : envCopy) envp.push_back(v.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = -1;
  const int r = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  return r == 0 ? pid : -1;
}

inline std::string ReadFile(const std::string& path) {
  std::string out;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
    std::fclose(f);
  }
  return out;
}

// The exit code, or -1 when the process did not end within `limitMs` (it is then killed).
inline int WaitExit(pid_t pid, int limitMs) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  for (;;) {
    int status = 0;
    const pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (std::chrono::steady_clock::now() >= until) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

// Waits (bounded) until `path` exists.
inline bool WaitForFile(const std::string& path, int limitMs) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  std::error_code ec;
  while (!std::filesystem::exists(path, ec)) {
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

}  // namespace e2e
