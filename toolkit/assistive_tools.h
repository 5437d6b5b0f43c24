#pragma once

#include <functional>

class QAccessibleEvent;

namespace kelvora {

// Whether a screen reader or another assistive tool listens. Qt learns it
// from the desktop's accessibility bus and says so when it changes; the
// answer is kept here, so that a program writing a million cells pays one
// load of a flag per cell while no tool listens.
extern bool assistiveToolListening;
inline bool AssistiveToolListening() { return assistiveToolListening; }

// Starts following Qt's word, once; the grid calls it as it is made.
void FollowAssistiveTools();

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
