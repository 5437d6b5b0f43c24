#pragma once

#include <string>

namespace kelvora {

// The file a replacing save writes before it is renamed over its target: a
// hidden name in the target's folder, "." + name + ".saving", so that it
// never shows beside the user's file under the same extension.
//
// A save claims that name by locking it. One killed part-way leaves its
// file behind unlocked, and the next save to the same target takes it over
// and renames it away, so nothing stays. Should another save to the same
// target hold the lock right now, a name of its own is made instead.
struct TSaveTemporary {
  int fd = -1;  // locked while it is ours, truncated, close-on-exec
  std::string path;
};

std::string SaveTemporaryName(const std::string& target);

// Claims a temporary file for `target` and returns 0, or an errno value from
// creating it (nothing is left open then).
int ClaimSaveTemporary(const std::string& target, TSaveTemporary& out);

}  // namespace kelvora
