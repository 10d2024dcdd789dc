#define PCRE2_CODE_UNIT_WIDTH 8
#include "platform/regex.h"

#include <pcre2.h>

#include <stdexcept>

namespace taotu::platform {

struct Regex::Compiled {
  pcre2_code* code = nullptr;
  ~Compiled() { pcre2_code_free(code); }
};

Regex::Regex(std::string_view pattern) : compiled_(std::make_unique<Compiled>()) {
  int error = 0;
  PCRE2_SIZE offset = 0;
  compiled_->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), 0, &error,
                                  &offset, nullptr);
  if (!compiled_->code) {
    PCRE2_UCHAR message[256];
    pcre2_get_error_message(error, message, sizeof message);
    throw std::invalid_argument(reinterpret_cast<const char*>(message));
  }
  pcre2_jit_compile(compiled_->code, PCRE2_JIT_COMPLETE);  // a plain match when JIT is missing
}

Regex::~Regex() = default;
Regex::Regex(Regex&&) noexcept = default;
Regex& Regex::operator=(Regex&&) noexcept = default;

std::vector<std::string> Regex::FindAll(std::string_view text) const {
  std::vector<std::string> matches;
  // Match data per call: one Regex serves several threads at once.
  pcre2_match_data* data = pcre2_match_data_create_from_pattern(compiled_->code, nullptr);
  const auto* subject = reinterpret_cast<PCRE2_SPTR>(text.data());
  PCRE2_SIZE start = 0;
  while (start <= text.size()) {
    const int rc = pcre2_match(compiled_->code, subject, text.size(), start, 0, data, nullptr);
    if (rc < 0) break;  // no more matches, or a match limit was hit
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data);
    matches.emplace_back(text.substr(ovector[0], ovector[1] - ovector[0]));
    start = ovector[1] > ovector[0] ? ovector[1] : ovector[0] + 1;
  }
  pcre2_match_data_free(data);
  return matches;
}

}  // namespace taotu::platform
