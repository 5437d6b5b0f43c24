#pragma once

#include <functional>

class QAccessibleEvent;

namespace kelvora {

// Whether a screen reader or another assistive tool listens. Qt knows this
// from the desktop's accessibility bus; a program that writes a million
// cells asks before it makes any notice, so that the notices cost nothing
// while no tool listens.
bool AssistiveToolListening();

// Hands a notice to the listening tools (or to the stand-in below).
void TellAssistiveTools(QAccessibleEvent& event);

// Tests have no accessibility bus, and Qt drops every notice while none is
// connected; a stand-in listens in the tool's place, and receives the
// notices instead of Qt, until it ends.
using TAssistiveToolEar = std::function<void(QAccessibleEvent& event)>;

class TAssistiveToolStandIn {
 public:
  explicit TAssistiveToolStandIn(TAssistiveToolEar ear);
  ~TAssistiveToolStandIn();
  TAssistiveToolStandIn(const TAssistiveToolStandIn&) = delete;
  TAssistiveToolStandIn& operator=(const TAssistiveToolStandIn&) = delete;

 private:
  TAssistiveToolEar previous_;
};

}  // namespace kelvora
