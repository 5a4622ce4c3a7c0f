#include "platform/ServiceNotify.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace plat {

namespace {

constexpr const char* kNotifyResultTexts[] = {"sent", "no service manager", "bad socket name",
                                              "send failed"};
static_assert(sizeof kNotifyResultTexts / sizeof kNotifyResultTexts[0] ==
              static_cast<size_t>(NotifyResult::Failed) + 1);

}  // namespace

const char* NotifyResultText(NotifyResult r) {
  const auto i = static_cast<size_t>(r);
  return i < sizeof kNotifyResultTexts / sizeof kNotifyResultTexts[0] ? kNotifyResultTexts[i] : "?";
}

// The protocol is one datagram of text per state change; the few lines here spare the panel a
// library for it. The variable is read at each call because the manager may set it only for
// the service and tests set it per run.
NotifyResult NotifyServiceManager(const char* state) {
  const char* name = std::getenv("NOTIFY_SOCKET");
  if (name == nullptr || name[0] == 0) return NotifyResult::NoManager;
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  const size_t len = std::strlen(name);
  if ((name[0] != '/' && name[0] != '@') || len >= sizeof addr.sun_path) return NotifyResult::BadSocket;
  std::memcpy(addr.sun_path, name, len);
  if (name[0] == '@') addr.sun_path[0] = 0;  // an abstract socket
  const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return NotifyResult::Failed;
  const auto addrLen = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + len);
  const ssize_t sent = ::sendto(fd, state, std::strlen(state), MSG_NOSIGNAL,
                                reinterpret_cast<const sockaddr*>(&addr), addrLen);
  ::close(fd);
  return sent >= 0 ? NotifyResult::Sent : NotifyResult::Failed;
}

}  // namespace plat
