#include "support/temp_dir.h"

#include <stdlib.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace taotu::testing {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "taotu-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr)
    throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code error;
  fs::remove_all(path_, error);
  if (!error) return;
  // Tests make folders read-only to provoke write failures; open them up and retry.
  for (auto it = fs::recursive_directory_iterator(path_, error); !error && it != fs::end(it);
       it.increment(error)) {
    if (it->symlink_status().type() == fs::file_type::directory)
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
  }
  error.clear();
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
  fs::remove_all(path_, error);
}

std::vector<std::string> ListFiles(const std::string& root) {
  std::vector<std::string> files;
  if (!fs::exists(root)) return files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    if (entry.symlink_status().type() == fs::file_type::regular)
      files.push_back(entry.path().lexically_relative(root).generic_string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) throw std::runtime_error("cannot read " + path);
  return bytes;
}

void WriteFileBytes(const std::string& path, std::string_view bytes) {
  fs::path parent = fs::path(path).parent_path();
  std::error_code error;
  if (!parent.empty()) fs::create_directories(parent, error);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace taotu::testing
