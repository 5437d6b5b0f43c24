#pragma once

#include <sys/stat.h>

#include <string>

namespace kelvora {

// A file is more than its bytes: other names (hard links), an owner and a
// group, extended attributes and access lists. Renaming a new file over it
// keeps none of these that the new file could not be given, so such a file
// is saved in place instead: the new text is first written whole, and
// synced, into a recovery file beside it, then copied over the file itself.
// A crash at any moment leaves the old text, the new text, or the whole new
// text in the recovery file.

// Gives the file `to` every extended attribute of `from` (access lists
// among them). False when any of them could not be read or given, so a
// rename would lose it.
bool CopyExtendedAttributes(const std::string& from, int to);

// Whether a file so described loses something when another file is renamed
// over it: a second name, or an owner or group the new file could not get.
bool RenameWouldSplit(const struct stat& old, bool ownerKept);

// The name the whole new text stands under while the file is overwritten:
// the file's name with ".recovery" (then "-2", "-3", ... when that is
// taken), visible, so that a person finds it after a crash.
std::string RecoveryName(const std::string& target, int attempt);

// Gives the synced temporary file a recovery name that no other file has,
// syncs the folder, and returns 0 with the name in `recovery`, or an errno.
int NameRecoveryFile(const std::string& temporary, const std::string& target, std::string& recovery);

// Overwrites `target` with the `size` bytes of the open file `from`, cuts
// it to that size and syncs it. Returns 0 or an errno value.
int OverwriteInPlace(int from, off_t size, const std::string& target);

}  // namespace kelvora
