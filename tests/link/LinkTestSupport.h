#pragma once
// Shared by the link tests: status frames built field by field, a recording implementation of
// the link events, and a fixture that puts the link's process-wide state back to its start.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "link/DryerStatus.h"
#include "link/Framing.h"
#include "link/Link.h"
#include "link/LinkEvents.h"
#include "link/SettingRequest.h"
#include "link/StatusDecoder.h"

struct TestFrame {
  uint8_t b[lnk::kStatusFrameLength] = {};

  TestFrame& Set(int k, uint8_t v) {
    b[k] = v;
    return *this;
  }
  TestFrame& SetS16LowFirst(int k, int v) {
    b[k] = static_cast<uint8_t>(v & 0xFF);
    b[k + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
    return *this;
  }
  TestFrame& SetU16HighFirst(int k, int v) {
    b[k] = static_cast<uint8_t>((v >> 8) & 0xFF);
    b[k + 1] = static_cast<uint8_t>(v & 0xFF);
    return *this;
  }
  TestFrame& SetMinSec(int k, int minutes, int seconds) {
    b[k] = static_cast<uint8_t>(minutes);
    b[k + 1] = static_cast<uint8_t>(seconds);
    return *this;
  }
  // The frame with its CRC, ready for the port.
  const uint8_t* Wire() {
    lnk::AppendChecksum(b, lnk::kStatusPayloadLength);
    return b;
  }
  void Decode() { lnk::DecodeStatusFrame(Wire()); }
};

struct RecordedEvents {
  int redraws[lnk::kPanelWindowCount] = {};
  int erases[lnk::kPanelWindowCount] = {};
  int reshowDryerType = 0;
  int reshowViewMode = 0;
  int updateButtons = 0;
  int relayouts = 0;
  struct Shutdown {
    uint8_t node, warning;
  };
  std::vector<Shutdown> shutdowns;
  bool meterRollVisible = false;
  bool meterRollQuestion = false;

  int Redraws(lnk::PanelWindow w) const { return redraws[static_cast<int>(w)]; }
  int TotalRedraws() const {
    int n = 0;
    for (int r : redraws) n += r;
    return n;
  }
  void ClearCounts() {
    std::memset(redraws, 0, sizeof redraws);
    std::memset(erases, 0, sizeof erases);
    reshowDryerType = reshowViewMode = updateButtons = relayouts = 0;
    shutdowns.clear();
  }
  lnk::LinkEvents Events() {
    lnk::LinkEvents e;
    e.context = this;
    e.redraw = [](void* c, lnk::PanelWindow w, bool erase) {
      auto* r = static_cast<RecordedEvents*>(c);
      ++r->redraws[static_cast<int>(w)];
      if (erase) ++r->erases[static_cast<int>(w)];
    };
    e.reshowMainViews = [](void* c, lnk::ReshowReason why) {
      auto* r = static_cast<RecordedEvents*>(c);
      ++(why == lnk::ReshowReason::DryerTypeChanged ? r->reshowDryerType : r->reshowViewMode);
    };
    e.updateMainButtons = [](void* c) { ++static_cast<RecordedEvents*>(c)->updateButtons; };
    e.relayoutButtonBar = [](void* c) { ++static_cast<RecordedEvents*>(c)->relayouts; };
    e.recordShutdown = [](void* c, uint8_t node, uint8_t warning) {
      static_cast<RecordedEvents*>(c)->shutdowns.push_back({node, warning});
    };
    e.meterRollWindowVisible = [](void* c) { return static_cast<RecordedEvents*>(c)->meterRollVisible; };
    e.meterRollQuestionPending = [](void* c) { return static_cast<RecordedEvents*>(c)->meterRollQuestion; };
    return e;
  }
};

class LinkStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lnk::CloseLink();
    lnk::ResetDryerStatus();
    lnk::ResetSettingRequest();
    lnk::ResetLinkState();
    lnk::SetLinkEvents(events.Events());
  }
  void TearDown() override {
    lnk::CloseLink();
    lnk::SetLinkEvents(lnk::LinkEvents{});
  }
  static lnk::DryerStatus Snapshot() {
    lnk::DryerStatus s;
    lnk::TakeStatusSnapshot(s);
    return s;
  }
  // Builds a command frame; empty when the builder places nothing.
  static std::vector<uint8_t> Build() {
    uint8_t tx[lnk::kTransmitBufferLength] = {};
    if (!lnk::BuildCommandFrame(tx)) return {};
    return std::vector<uint8_t>(tx, tx + tx[0] - 2);
  }
  RecordedEvents events;
};
