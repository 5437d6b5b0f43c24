#include "support/bench_environment.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>
#include <stdexcept>
#include <vector>

extern char** environ;

namespace kelvora::bench {
namespace {

// Runs `sh -c command`, reads its standard output to the end and throws it
// away, and returns its exit status. The output goes through a pipe rather
// than to /dev/null: grep, for one, notices /dev/null and stops at the first
// match, which would time a different job.
int RunDiscardingOutput(const std::string& command) {
  int channel[2];
  if (pipe2(channel, O_CLOEXEC) != 0) throw std::runtime_error("cannot make a pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, channel[1], STDOUT_FILENO);
  const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
  pid_t child = 0;
  const int failed = posix_spawn(&child, "/bin/sh", &actions, nullptr, const_cast<char**>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(channel[1]);
  if (failed) {
    close(channel[0]);
    throw std::runtime_error("cannot start /bin/sh");
  }
  char chunk[65536];
  while (true) {
    const ssize_t n = read(channel[0], chunk, sizeof chunk);
    if (n == 0 || (n < 0 && errno != EINTR)) break;
  }
  close(channel[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error("lost the child running: " + command);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

std::string DataDir() {
  namespace fs = std::filesystem;
  const char* given = std::getenv("KELVORA_BENCH_DATA");
  const fs::path dir = (given && *given) ? fs::path(given)
                                         : fs::temp_directory_path() / ("kelvora-bench-data-" + std::to_string(getuid()));
  fs::create_directories(dir);
  return dir.string();
}

double TimeCommandSeconds(const std::string& shellCommand, int repetitions) {
  double best = std::numeric_limits<double>::infinity();
  for (int i = 0; i < repetitions; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const int status = RunDiscardingOutput(shellCommand);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (status == 126 || status == 127) throw std::runtime_error("the shell cannot run: " + shellCommand);
    best = std::min(best, elapsed.count());
  }
  return best;
}

std::string CommandOutput(const std::string& shellCommand) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(shellCommand.c_str(), "r"), pclose);
  if (!pipe) throw std::runtime_error("cannot start: " + shellCommand);
  std::string output;
  char chunk[4096];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, pipe.get())) > 0) output.append(chunk, n);
  return output;
}

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

void WarmPageCache(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw std::runtime_error("cannot read " + path);
  std::vector<char> block(std::size_t{4} << 20);
  while (read(fd, block.data(), block.size()) > 0) {
  }
  close(fd);
}

}  // namespace kelvora::bench
