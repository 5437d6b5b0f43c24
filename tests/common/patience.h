#pragma once

namespace kelvora::testing {

// Milliseconds a test or a bench waits for a condition before it calls the
// wait a failure. It is only ever the limit of a wait on a condition, never
// a wait of its own, so it can be generous: a loaded machine passes late,
// not never.
inline constexpr int kPatience = 10'000;

}  // namespace kelvora::testing
