#include "text/gbk_text.h"

#include <cstring>

namespace taotu::text {
namespace {

// Bytes of the character at i: two for a lead byte with a byte after it.
std::size_t Step(std::string_view text, std::size_t i) {
  return (static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < text.size()) ? 2 : 1;
}

// 0-based offset of the first occurrence at a character start at or after
// `from`, which must itself be a character start; npos when there is none.
std::size_t FindAt(std::string_view text, std::string_view what, std::size_t from) {
  if (what.empty()) return from < text.size() ? from : std::string_view::npos;
  for (std::size_t i = from; i + what.size() <= text.size(); i += Step(text, i)) {
    if (std::memcmp(text.data() + i, what.data(), what.size()) == 0) return i;
  }
  return std::string_view::npos;
}

// The first character start at or after `at` + `length`, stepping from the
// character start `at`: where a left-to-right scan resumes after a match.
std::size_t ResumeAfter(std::string_view text, std::size_t at, std::size_t length) {
  std::size_t i = at;
  while (i < at + length && i < text.size()) i += Step(text, i);
  return i;
}

bool IsBlankAt(std::string_view text, std::size_t i) {
  return text[i] == ' ' || text.substr(i, 2) == "\xA1\xA1";
}

}  // namespace

int Find(std::string_view text, std::string_view what, int from) {
  if (from < 1) from = 1;
  const std::size_t start = ResumeAfter(text, 0, static_cast<std::size_t>(from - 1));
  const std::size_t at = FindAt(text, what, start);
  return at == std::string_view::npos ? -1 : static_cast<int>(at) + 1;
}

bool Contains(std::string_view text, std::string_view what) {
  return FindAt(text, what, 0) != std::string_view::npos;
}

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
  std::vector<std::string> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) return {std::string(text)};
  std::size_t start = 0, search = 0;
  for (std::size_t at; (at = FindAt(text, separator, search)) != std::string_view::npos;) {
    pieces.emplace_back(text.substr(start, at - start));
    start = at + separator.size();
    search = ResumeAfter(text, at, separator.size());
  }
  if (start < text.size()) pieces.emplace_back(text.substr(start));
  return pieces;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t start = 0, search = 0;
  for (std::size_t at; (at = FindAt(text, from, search)) != std::string_view::npos;) {
    out.append(text.substr(start, at - start));
    out.append(to);
    start = at + from.size();
    search = ResumeAfter(text, at, from.size());
  }
  out.append(text.substr(start));
  return out;
}

std::string DeleteAll(std::string_view text, std::string_view what) { return ReplaceAll(text, what, ""); }

std::string Between(std::string_view text, std::string_view start, std::string_view end) {
  const std::size_t at = FindAt(text, start, 0);
  if (at == std::string_view::npos) return {};
  const std::size_t from = at + start.size();
  const std::size_t to =
      end.empty() ? std::string_view::npos : FindAt(text, end, ResumeAfter(text, at, start.size()));
  return std::string(text.substr(from, to == std::string_view::npos ? std::string_view::npos : to - from));
}

std::string TrimBlanks(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size() && IsBlankAt(text, begin)) begin += Step(text, begin);
  // From the start forward, so a trail byte 0xA1 is never taken for half a blank.
  std::size_t end = begin;
  for (std::size_t i = begin; i < text.size(); i += Step(text, i)) {
    if (!IsBlankAt(text, i)) end = i + Step(text, i);
  }
  return std::string(text.substr(begin, end - begin));
}

double ToNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  double value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') value = value * 10 + (text[i++] - '0');
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10) {
      value += (text[i] - '0') * scale;
    }
  }
  return negative ? -value : value;
}

long long ToInteger(std::string_view text) { return static_cast<long long>(ToNumber(text)); }

std::string Decimal(long long number) { return std::to_string(number); }

std::string_view Left(std::string_view text, std::size_t n) { return text.substr(0, n); }

std::string_view Right(std::string_view text, std::size_t n) {
  return n >= text.size() ? text : text.substr(text.size() - n);
}

bool EndsWith(std::string_view text, std::string_view ending) { return text.ends_with(ending); }

std::string_view UpToZero(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

}  // namespace taotu::text
