#include "link/LinkEvents.h"

namespace lnk {

namespace {
LinkEvents gEvents;
}

void SetLinkEvents(const LinkEvents& events) { gEvents = events; }
const LinkEvents& GetLinkEvents() { return gEvents; }

void PostRedraw(PanelWindow window, bool erase) {
  if (gEvents.redraw) gEvents.redraw(gEvents.context, window, erase);
}
void PostReshowMainViews(ReshowReason reason) {
  if (gEvents.reshowMainViews) gEvents.reshowMainViews(gEvents.context, reason);
}
void PostUpdateMainButtons() {
  if (gEvents.updateMainButtons) gEvents.updateMainButtons(gEvents.context);
}
void PostRelayoutButtonBar() {
  if (gEvents.relayoutButtonBar) gEvents.relayoutButtonBar(gEvents.context);
}
void PostShutdownRecord(uint8_t node, uint8_t warning) {
  if (gEvents.recordShutdown) gEvents.recordShutdown(gEvents.context, node, warning);
}
bool MeterRollWindowVisible() {
  return gEvents.meterRollWindowVisible && gEvents.meterRollWindowVisible(gEvents.context);
}
bool MeterRollQuestionPending() {
  return gEvents.meterRollQuestionPending && gEvents.meterRollQuestionPending(gEvents.context);
}

}  // namespace lnk
