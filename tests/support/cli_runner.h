#pragma once
// Runs a program to completion the way a user would, capturing everything it
// says. The child never sees the tester's own proxy settings.
#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace taotu::testing {

struct CliRun {
  int exitCode = -1;      // exit status, -1 when killed or crashed
  bool timedOut = false;  // killed because the deadline passed
  std::string out, err;   // everything written to stdout / stderr

  // Split at "\n"; a trailing empty piece is dropped, "\r" before "\n" removed.
  std::vector<std::string> OutLines() const;
  std::vector<std::string> ErrLines() const;
};

struct CliOptions {
  std::vector<std::pair<std::string, std::string>> env;  // set in the child's environment
  std::string stdinText;                                 // written to the child's stdin, which is then closed
  std::string workDir;                                   // the child's current directory, "" = inherit
  std::chrono::milliseconds deadline{60000};
};

// The child gets the parent's environment without any proxy variable, then
// options.env, and LC_ALL=C.UTF-8 unless options.env sets LC_ALL. A program
// without "/" is looked up in PATH; a relative one is taken from the parent's
// directory, not workDir. Throws std::system_error when it cannot be started.
CliRun RunCli(const std::string& program, const std::vector<std::string>& args,
              const CliOptions& options = {});

}  // namespace taotu::testing
