#include "support/cli_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <thread>

namespace taotu::testing {
namespace {

using Clock = std::chrono::steady_clock;

// After a kill, how long the pipes may take to close: a process that left the
// group could keep them open for ever.
constexpr auto kDrainAfterKill = std::chrono::seconds(2);

constexpr std::string_view kProxyVariables[] = {
    "http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY",
    "all_proxy",  "ALL_PROXY",  "no_proxy",    "NO_PROXY",
};

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { Reset(); }
  Fd(const Fd&) = delete;
  Fd& operator=(Fd&& other) noexcept {
    Reset();
    std::swap(fd_, other.fd_);
    return *this;
  }
  int Get() const { return fd_; }
  void Reset() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

void MakePipe(Fd& readEnd, Fd& writeEnd) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) throw std::system_error(errno, std::generic_category(), "pipe2");
  readEnd = Fd(fds[0]);
  writeEnd = Fd(fds[1]);
}

void SetNonBlocking(const Fd& fd) {
  if (fd.Get() >= 0) fcntl(fd.Get(), F_SETFL, fcntl(fd.Get(), F_GETFL) | O_NONBLOCK);
}

// A child that stops reading stdin makes our write raise SIGPIPE, which would
// end the whole test binary; blocked in this thread, it is taken back after EPIPE.
class SigpipeBlock {
 public:
  SigpipeBlock() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
  }
  ~SigpipeBlock() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
  const sigset_t& Previous() const { return previous_; }
  void DiscardPending() const {
    timespec now{};
    while (sigtimedwait(&pipe_, nullptr, &now) > 0) {
    }
  }

 private:
  sigset_t pipe_, previous_;
};

std::string ResolveProgram(const std::string& program) {
  if (program.find('/') != std::string::npos)
    return program.front() == '/' ? program : (std::filesystem::current_path() / program).string();
  const char* path = std::getenv("PATH");
  std::string_view dirs = path != nullptr ? path : "/usr/bin:/bin";
  while (!dirs.empty()) {
    std::size_t colon = std::min(dirs.find(':'), dirs.size());
    std::string candidate = std::string(colon == 0 ? "." : dirs.substr(0, colon)) + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    dirs.remove_prefix(std::min(colon + 1, dirs.size()));
  }
  return program;  // execve reports it missing
}

std::vector<std::string> ChildEnvironment(const CliOptions& options) {
  auto nameOf = [](std::string_view entry) { return entry.substr(0, entry.find('=')); };
  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string_view name = nameOf(*entry);
    if (name != "LC_ALL" &&
        std::find(std::begin(kProxyVariables), std::end(kProxyVariables), name) == std::end(kProxyVariables))
      env.emplace_back(*entry);
  }
  bool lcAllSet = false;
  for (const auto& [name, value] : options.env) {
    std::erase_if(env, [&](const std::string& entry) { return nameOf(entry) == name; });
    env.push_back(name + "=" + value);
    lcAllSet = lcAllSet || name == "LC_ALL";
  }
  if (!lcAllSet) env.emplace_back("LC_ALL=C.UTF-8");
  return env;
}

std::vector<char*> NullTerminated(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Between fork and exec: async-signal-safe calls only.
[[noreturn]] void FailChild(int failPipe) {
  int error = errno;
  ssize_t ignored = write(failPipe, &error, sizeof error);
  (void)ignored;
  _exit(127);
}

[[noreturn]] void BecomeChild(int in, int out, int err, int failPipe, const char* workDir, const char* path,
                              char* const argv[], char* const envp[], const sigset_t& mask, pid_t parent) {
  setpgid(0, 0);  // its own group, so a kill also reaches what it started
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(127);
  if (dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) FailChild(failPipe);
  close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);  // descriptors leaked by anything else in the tester
  if (workDir != nullptr && chdir(workDir) != 0) FailChild(failPipe);
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  sigaction(SIGPIPE, &byDefault, nullptr);
  sigprocmask(SIG_SETMASK, &mask, nullptr);
  execve(path, argv, envp);
  FailChild(failPipe);
}

void KillGroup(pid_t pid) {
  kill(-pid, SIGKILL);
  kill(pid, SIGKILL);
}

// Reads what is there; closes fd at end of file or on error.
void Drain(Fd& fd, std::string& into) {
  char buffer[65536];
  for (;;) {
    ssize_t n = read(fd.Get(), buffer, sizeof buffer);
    if (n > 0) {
      into.append(buffer, std::size_t(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) fd.Reset();
      return;
    }
  }
}

void Feed(Fd& fd, std::string_view& pending, const SigpipeBlock& sigpipe) {
  while (!pending.empty()) {
    ssize_t n = write(fd.Get(), pending.data(), std::min<std::size_t>(pending.size(), 65536));
    if (n > 0) {
      pending.remove_prefix(std::size_t(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      return;
    } else {
      if (errno == EPIPE) sigpipe.DiscardPending();
      break;
    }
  }
  fd.Reset();  // all written, or the child will not take more
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = std::min(text.find('\n', start), text.size());
    std::size_t stop = end < text.size() && end > start && text[end - 1] == '\r' ? end - 1 : end;
    lines.push_back(text.substr(start, stop - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace

std::vector<std::string> CliRun::OutLines() const { return SplitLines(out); }
std::vector<std::string> CliRun::ErrLines() const { return SplitLines(err); }

CliRun RunCli(const std::string& program, const std::vector<std::string>& args, const CliOptions& options) {
  // Everything the child needs is built before fork: it may not allocate.
  std::string path = ResolveProgram(program);
  std::vector<std::string> argStrings{program};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<std::string> envStrings = ChildEnvironment(options);
  std::vector<char*> argv = NullTerminated(argStrings), envp = NullTerminated(envStrings);

  Fd inRead, inWrite, outRead, outWrite, errRead, errWrite, failRead, failWrite;
  MakePipe(inRead, inWrite);
  MakePipe(outRead, outWrite);
  MakePipe(errRead, errWrite);
  MakePipe(failRead, failWrite);
  SigpipeBlock sigpipe;

  pid_t parent = getpid();
  pid_t pid = fork();
  if (pid < 0) throw std::system_error(errno, std::generic_category(), "fork");
  if (pid == 0)
    BecomeChild(inRead.Get(), outWrite.Get(), errWrite.Get(), failWrite.Get(),
                options.workDir.empty() ? nullptr : options.workDir.c_str(), path.c_str(), argv.data(),
                envp.data(), sigpipe.Previous(), parent);
  setpgid(pid, pid);  // also here, so a kill right away cannot miss the group
  inRead.Reset();
  outWrite.Reset();
  errWrite.Reset();
  failWrite.Reset();

  // The failure pipe closes at exec, or carries the errno of what went wrong.
  int childError = 0;
  ssize_t got;
  while ((got = read(failRead.Get(), &childError, sizeof childError)) < 0 && errno == EINTR) {
  }
  if (got == sizeof childError) {
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    throw std::system_error(childError, std::generic_category(), "cannot run " + program);
  }

  CliRun run;
  auto deadline = Clock::now() + options.deadline;
  auto killOnDeadline = [&] {
    if (run.timedOut || Clock::now() < deadline) return false;
    KillGroup(pid);
    run.timedOut = true;
    deadline = Clock::now() + kDrainAfterKill;
    return true;
  };

  SetNonBlocking(inWrite);
  SetNonBlocking(outRead);
  SetNonBlocking(errRead);
  std::string_view pending = options.stdinText;
  if (pending.empty()) inWrite.Reset();
  while (outRead.Get() >= 0 || errRead.Get() >= 0) {
    if (killOnDeadline()) inWrite.Reset();
    if (run.timedOut && Clock::now() >= deadline) break;  // the pipes outlived the kill
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd fds[3] = {{outRead.Get(), POLLIN, 0}, {errRead.Get(), POLLIN, 0}, {inWrite.Get(), POLLOUT, 0}};
    if (poll(fds, 3, int(std::clamp<long long>(left, 0, 60'000))) < 0) continue;  // EINTR
    if (fds[0].revents != 0) Drain(outRead, run.out);
    if (fds[1].revents != 0) Drain(errRead, run.err);
    if (fds[2].revents != 0) Feed(inWrite, pending, sigpipe);
  }
  inWrite.Reset();

  // Its outputs are closed but it may still be running.
  int status = 0;
  pid_t reaped = 0;
  while ((reaped = waitpid(pid, &status, WNOHANG)) == 0 && !run.timedOut) {
    if (!killOnDeadline()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (reaped == 0 || (reaped < 0 && errno == EINTR)) {
    while ((reaped = waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
    }
  }
  run.exitCode = reaped == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace taotu::testing
