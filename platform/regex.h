#pragma once
// Regular expressions over byte strings (PCRE2, 8-bit, no UTF mode, so GBK
// bytes are matched as they are). Compile once, match many times.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace taotu::platform {

class Regex {
 public:
  // Case-sensitive; "." does not match a line break. Throws
  // std::invalid_argument for a bad pattern (patterns are the program's own).
  explicit Regex(std::string_view pattern);
  ~Regex();
  Regex(Regex&&) noexcept;
  Regex& operator=(Regex&&) noexcept;

  // The whole text of every match, left to right, without overlap.
  std::vector<std::string> FindAll(std::string_view text) const;

 private:
  struct Compiled;
  std::unique_ptr<Compiled> compiled_;
};

}  // namespace taotu::platform
