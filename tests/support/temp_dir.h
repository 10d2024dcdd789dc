#pragma once
// A private folder per test, and the few file helpers the tests need to look
// at what the program wrote.
#include <string>
#include <string_view>
#include <vector>

namespace taotu::testing {

class TempDir {
 public:
  // A new folder under the system temp dir; throws when none can be made.
  TempDir();
  // Removes the whole tree, read-only folders included.
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// Regular files below root, relative with "/" separators, byte-sorted, names
// exactly as on disk; empty when root does not exist, throws
// std::filesystem::filesystem_error when part of it cannot be read.
std::vector<std::string> ListFiles(const std::string& root);

// Whole file, binary; throws std::runtime_error when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// Creates missing parent folders; throws std::runtime_error on failure.
void WriteFileBytes(const std::string& path, std::string_view bytes);

}  // namespace taotu::testing
