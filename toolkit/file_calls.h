#pragma once

#include <cstddef>

namespace kelvora {

// The system calls through which a written file reaches the disk, in the
// order a replacing save makes them: open the temporary file, lock it, give
// it the old file's attributes, write, sync, rename it over the target,
// close; a failed save removes the temporary file instead. A save in place
// renames the synced file to its recovery name and syncs the folder, opens
// the target, writes, syncs and closes it, and removes the recovery file.
enum class TFileCall { Open, Lock, Attributes, Write, Sync, Rename, Close, Remove };

// A test's view of those calls. It is called before each one; for a write it
// returns how many of the `bytes` that call may pass on (at least one), so a
// test can break the text into many short writes as a slow disk would. A
// test stops the process in one of these moments, or starves it, and then
// looks at what the disk holds.
using TFileCallHook = std::size_t (*)(TFileCall call, std::size_t bytes);

namespace file_calls {
inline TFileCallHook hook = nullptr;
}  // namespace file_calls

// nullptr removes the hook. Only tests set one; the program never does.
inline void SetFileCallHook(TFileCallHook hook) { file_calls::hook = hook; }

// One predictable branch per system call when no test is watching.
inline std::size_t BeforeFileCall(TFileCall call, std::size_t bytes = 0) {
  if (file_calls::hook == nullptr) [[likely]]
    return bytes;
  const std::size_t allowed = file_calls::hook(call, bytes);
  return allowed == 0 || allowed > bytes ? bytes : allowed;
}

}  // namespace kelvora
