#include "toolkit/assistive_tools.h"

#include <QAccessible>

#include <utility>

namespace kelvora {

bool assistiveToolListening = false;

namespace {

bool qtListening = false;

TAssistiveToolEar& StandInEar() {
  static TAssistiveToolEar ear;
  return ear;
}

void UpdateListening() { assistiveToolListening = qtListening || StandInEar() != nullptr; }

// Qt tells its observers whenever the accessibility bus comes or goes.
class TActivationWatch : public QAccessible::ActivationObserver {
 public:
  void accessibilityActiveChanged(bool active) override {
    qtListening = active;
    UpdateListening();
  }
};

}  // namespace

void FollowAssistiveTools() {
  static TActivationWatch* watch = [] {
    auto* observer = new TActivationWatch;  // lives as long as the program
    QAccessible::installActivationObserver(observer);
    return observer;
  }();
  (void)watch;
  qtListening = QAccessible::isActive();
  UpdateListening();
}

void TellAssistiveTools(QAccessibleEvent& event) {
  if (const TAssistiveToolEar& ear = StandInEar()) ear(event);
  else QAccessible::updateAccessibility(&event);
}

TAssistiveToolStandIn::TAssistiveToolStandIn(TAssistiveToolEar ear)
    : previous_(std::exchange(StandInEar(), std::move(ear))) {
  UpdateListening();
}

TAssistiveToolStandIn::~TAssistiveToolStandIn() {
  StandInEar() = std::move(previous_);
  UpdateListening();
}

}  // namespace kelvora
