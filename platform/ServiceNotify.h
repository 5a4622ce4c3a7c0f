#pragma once
// Tells the service manager how the panel is doing, through the datagram socket named by
// NOTIFY_SOCKET (the notify protocol of systemd). Without that variable every call does nothing,
// so the panel runs the same by hand, under a test or as a service.
#include <cstdint>

namespace plat {

enum class NotifyResult : uint8_t {
  Sent,
  NoManager,  // NOTIFY_SOCKET is not set
  BadSocket,  // its value is not a usable socket name
  Failed,     // the datagram could not be sent
};
const char* NotifyResultText(NotifyResult r);

// Sends one state line ("READY=1", "WATCHDOG=1", "STATUS=..."). Safe from any thread.
NotifyResult NotifyServiceManager(const char* state);

}  // namespace plat
