#pragma once
// The status decoder: stores an accepted status frame into the record, field by field in
// ascending byte order, compares before it stores, retires echoed setting requests and runs
// the fields' own rules. Redraws and other consequences go out through the link events after
// the record is unlocked. Runs on the link thread; allocates nothing.
#include <cstdint>

namespace lnk {

// `frame` holds at least the 329 payload bytes of a frame that passed AcceptStatusFrame.
void DecodeStatusFrame(const uint8_t* frame);

}  // namespace lnk
