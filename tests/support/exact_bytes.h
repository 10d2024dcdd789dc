#pragma once
// A copy in a heap block of exactly its size, so that AddressSanitizer sees a
// read past the end (a std::string keeps a zero byte there).
#include <algorithm>
#include <cstddef>
#include <memory>
#include <string_view>

namespace taotu::testing {

class Exact {
 public:
  explicit Exact(std::string_view s) : bytes_(new char[s.size()]), size_(s.size()) {
    std::copy(s.begin(), s.end(), bytes_.get());
  }
  operator std::string_view() const { return {bytes_.get(), size_}; }

 private:
  std::unique_ptr<char[]> bytes_;
  std::size_t size_;
};

}  // namespace taotu::testing
