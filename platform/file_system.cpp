#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/codepage.h"

namespace taotu::platform {
namespace {

bool IsSeparatorOrEnd(std::string_view rest) { return rest.empty() || rest[0] == '\\' || rest[0] == '/'; }

std::string WithNativeSeparators(std::string utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (char c : utf8) {
    if (c == '\\') c = '/';
    if (c == '/' && !out.empty() && out.back() == '/') continue;
    out += c;
  }
  return out;
}

std::string TempNameBeside(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  const auto slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  return folder + ".taotu-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".part";
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

std::string PathCodec::FromNative(const std::string& native) {
  std::string gbk = Utf8ToGbk(native);
  if (GbkToUtf8(gbk) != native) {
    std::lock_guard lock(mutex_);
    lossy_[gbk] = native;
  }
  return gbk;
}

std::string PathCodec::ToNative(std::string_view gbkPath) const {
  std::string prefix;
  {
    std::lock_guard lock(mutex_);
    std::size_t best = 0;
    for (const auto& [spelling, native] : lossy_) {
      if (spelling.size() > best && gbkPath.starts_with(spelling) &&
          IsSeparatorOrEnd(gbkPath.substr(spelling.size()))) {
        best = spelling.size();
        prefix = native;
      }
    }
    gbkPath.remove_prefix(best);
  }
  return WithNativeSeparators(prefix + GbkToUtf8(gbkPath));
}

bool NativeFileSystem::MakeDirectory(const std::string& path) {
  return ::mkdir(codec_.ToNative(path).c_str(), 0777) == 0;
}

bool NativeFileSystem::IsFile(const std::string& path) {
  struct stat info {};
  return ::stat(codec_.ToNative(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<std::string> NativeFileSystem::ReadFile(const std::string& path) {
  std::ifstream in(codec_.ToNative(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool NativeFileSystem::WriteFile(const std::string& path, std::string_view bytes) {
  const std::string target = codec_.ToNative(path);
  const std::string temp = TempNameBeside(target);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, bytes);
  const bool closed = ::close(fd) == 0;
  if (written && closed && ::rename(temp.c_str(), target.c_str()) == 0) return true;
  ::unlink(temp.c_str());
  return false;
}

std::string NativeFileSystem::NativePath(const std::string& path) {
  std::string native = codec_.ToNative(path);
  if (native.empty() || native[0] != '/') {
    native = WithNativeSeparators(std::filesystem::current_path().string() + "/" + native);
  }
  return native;
}

}  // namespace taotu::platform
