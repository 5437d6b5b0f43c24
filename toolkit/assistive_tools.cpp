#include "toolkit/assistive_tools.h"

#include <QAccessible>

#include <utility>

namespace kelvora {
namespace {

TAssistiveToolEar& StandInEar() {
  static TAssistiveToolEar ear;
  return ear;
}

}  // namespace

bool AssistiveToolListening() { return StandInEar() != nullptr || QAccessible::isActive(); }

void TellAssistiveTools(QAccessibleEvent& event) {
  if (const TAssistiveToolEar& ear = StandInEar()) ear(event);
  else QAccessible::updateAccessibility(&event);
}

TAssistiveToolStandIn::TAssistiveToolStandIn(TAssistiveToolEar ear)
    : previous_(std::exchange(StandInEar(), std::move(ear))) {}

TAssistiveToolStandIn::~TAssistiveToolStandIn() { StandInEar() = std::move(previous_); }

}  // namespace kelvora
