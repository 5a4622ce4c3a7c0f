#pragma once
// The serial port that stands for "COM1:". Opened exclusively at 38400 baud, 8 data bits,
// even parity, one stop bit, raw, with non-blocking reads. A device that disappears (a pulled
// USB adapter) is closed without leaking its descriptor and reopened by Maintain().
#include <cstdint>

namespace plat {

enum class SerialResult : uint8_t {
  Ok,
  NotOpen,      // no device open (never opened, or gone and not yet back)
  OpenFailed,   // the device cannot be opened or configured for another reason
  Busy,         // another program holds the device exclusively
  Gone,         // the device disappeared; the port is now closed
  WriteFailed,  // a write error that did not take the device away
  NoDevice,          // nothing at that path (yet): an adapter not plugged in or not enumerated
  PermissionDenied,  // the user may not open it (not in the group that owns serial devices)
  NotATerminal,      // the path is something other than a serial line
};
const char* SerialResultText(SerialResult r);

class SerialPort {
 public:
  SerialPort() = default;
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Opens and configures the device; remembers the path, so Maintain() keeps trying a device
  // that is not there yet exactly as it reopens one that went away.
  SerialResult Open(const char* devicePath);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  const char* Path() const { return path_; }

  // Reads whatever has arrived, up to `capacity` bytes, never blocking. `got` is the number of
  // bytes read (0 when nothing came). Gone when the device went away.
  SerialResult Read(uint8_t* buffer, int capacity, int& got);
  // Writes the whole buffer (waiting briefly for room if needed).
  SerialResult Write(const uint8_t* buffer, int length);
  // Discards both queues, so the next read holds only the answer to the next request.
  void Purge();
  // While the device is gone, tries to reopen it every `retryMs` (default 3 s) of NowMs();
  // cheap to call every cycle. True when the port is open after the call.
  bool Maintain(uint32_t retryMs = 3000);

 private:
  SerialResult OpenDevice();
  void CloseDevice();
  SerialResult Lost();  // closes the descriptor and starts the retry period

  int fd_ = -1;
  char path_[256] = {};
  uint64_t lastAttemptMs_ = 0;
  bool wanted_ = false;
  bool attempted_ = false;
};

}  // namespace plat
