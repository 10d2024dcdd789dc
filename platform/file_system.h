#pragma once
// Files, reached by the paths the program builds: GBK text in which every
// backslash is a separator. This layer alone turns them into native paths.
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace taotu::platform {

// Converts between the program's GBK paths and native ones. A native folder
// that GBK cannot spell (a character GBK lacks, bytes that are not UTF-8) is
// remembered under its GBK spelling, so a folder the user picked survives the
// round trip unchanged.
class PathCodec {
 public:
  // GBK spelling of a native path; registers it when the spelling is lossy.
  std::string FromNative(const std::string& native);
  // Native path: GBK decoded first (a trail byte 0x5C stays inside its
  // character), then every backslash a separator, runs of separators one.
  std::string ToNative(std::string_view gbkPath) const;

 private:
  mutable std::mutex mutex_;
  std::map<std::string, std::string, std::less<>> lossy_;  // GBK spelling -> native
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Creates one directory level; false when it was not created (it exists,
  // or its parent is missing).
  virtual bool MakeDirectory(const std::string& path) = 0;
  // True when a regular file of that name exists.
  virtual bool IsFile(const std::string& path) = 0;
  virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
  // Replaces the file whole and atomically: the bytes go to a temporary file
  // in the same folder, which is then renamed, so no reader ever sees a
  // truncated file under the target name.
  virtual bool WriteFile(const std::string& path, std::string_view bytes) = 0;
  // The absolute native spelling of a path, for links to local files.
  virtual std::string NativePath(const std::string& path) = 0;
};

class NativeFileSystem final : public FileSystem {
 public:
  explicit NativeFileSystem(PathCodec& codec) : codec_(codec) {}
  bool MakeDirectory(const std::string& path) override;
  bool IsFile(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  bool WriteFile(const std::string& path, std::string_view bytes) override;
  std::string NativePath(const std::string& path) override;

 private:
  PathCodec& codec_;
};

}  // namespace taotu::platform
