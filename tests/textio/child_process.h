#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>

namespace kelvora::csv_test {

// How a child process ended and what it said on its way.
struct TChildResult {
  int status = 0;      // as waitpid gives it
  std::string report;  // everything the child wrote to its report pipe
  bool KilledBy(int signal) const { return WIFSIGNALED(status) && WTERMSIG(status) == signal; }
  bool ExitedWith(int code) const { return WIFEXITED(status) && WEXITSTATUS(status) == code; }
};

// Runs `body` in a forked child that ends with the code the body returns,
// unless something kills it first. The body writes its findings to the
// descriptor it is given; the parent collects them until the child is gone.
inline TChildResult RunInChild(const std::function<int(int reportFd)>& body) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {-1, "pipe failed"};
  const pid_t pid = ::fork();
  if (pid < 0) return {-1, "fork failed"};
  if (pid == 0) {
    ::close(pipeFds[0]);
    int code = 99;
    try {
      code = body(pipeFds[1]);
    } catch (...) {
      code = 98;
    }
    ::_exit(code);  // no exit handlers: they belong to the parent
  }
  ::close(pipeFds[1]);
  TChildResult result;
  char chunk[4096];
  ssize_t n;
  while ((n = ::read(pipeFds[0], chunk, sizeof chunk)) != 0) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    result.report.append(chunk, static_cast<std::size_t>(n));
  }
  ::close(pipeFds[0]);
  while (::waitpid(pid, &result.status, 0) < 0 && errno == EINTR) {
  }
  return result;
}

// For the child: one line of its report.
inline void Report(int fd, const std::string& line) {
  const std::string text = line + "\n";
  [[maybe_unused]] const ssize_t n = ::write(fd, text.data(), text.size());
}

}  // namespace kelvora::csv_test
