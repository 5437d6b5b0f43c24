#pragma once

#include <string>

namespace kelvora {

// Paths are byte strings. '/' always separates folders; a name that starts
// with a drive ("C:") is read the Windows way as well, with '\' as a second
// separator, so such names from another system still split sensibly while a
// Linux name holding ':' or '\' keeps them as ordinary characters.

// Everything before the last separator. The separator stays when it follows
// a drive colon or another separator: "/" for "/x", "C:\" for "C:\x".
std::string ExtractFileDir(const std::string& path);

// Everything after the last separator or drive colon.
std::string ExtractFileName(const std::string& path);

// The full path of the running program.
std::string ExecutablePath();

}  // namespace kelvora
