#include "text/gbk_text.h"

#include <charconv>
#include <cstring>
#include <limits>

namespace taotu::text {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

// Bytes of the character at i: two for a byte of 0x80 or more with a byte
// after it, so a lone lead byte at the end is a character of its own.
std::size_t Step(std::string_view text, std::size_t i) {
  return (static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < text.size()) ? 2 : 1;
}

// The first character start at or after at + length, stepping from the
// character start `at`: where a scan resumes after a match.
std::size_t ResumeAfter(std::string_view text, std::size_t at, std::size_t length) {
  std::size_t i = at;
  while (i < at + length && i < text.size()) i += Step(text, i);
  return i;
}

// 0-based offset of the first occurrence starting on a character start at or
// after the character start `from`; kNone when there is none.
std::size_t FindAt(std::string_view text, std::string_view what, std::size_t from) {
  if (what.empty()) return from < text.size() ? from : kNone;
  for (std::size_t i = from; i + what.size() <= text.size(); i += Step(text, i)) {
    if (std::memcmp(text.data() + i, what.data(), what.size()) == 0) return i;
  }
  return kNone;
}

bool IsBlankAt(std::string_view text, std::size_t i) {
  return text[i] == ' ' || text.substr(i, 2) == "\xA1\xA1";
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The parts of a text's leading number; both digit runs empty when there is none.
struct NumberParts {
  bool negative = false;
  std::string_view whole;     // the digits before the point
  std::string_view fraction;  // the digits after it
};

NumberParts LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  NumberParts parts;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) parts.negative = text[i++] == '-';
  const auto digits = [&] {
    const std::size_t start = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    return text.substr(start, i - start);
  };
  parts.whole = digits();
  if (i < text.size() && text[i] == '.') {
    ++i;
    parts.fraction = digits();
  }
  return parts;
}

}  // namespace

int Find(std::string_view text, std::string_view what, int from) {
  // A start before the text counts as its beginning; one inside a double-byte
  // character moves on to the next character.
  const std::size_t skip = from > 1 ? static_cast<std::size_t>(from) - 1 : 0;
  const std::size_t at = FindAt(text, what, ResumeAfter(text, 0, skip));
  return at == kNone ? -1 : static_cast<int>(at) + 1;
}

bool Contains(std::string_view text, std::string_view what) { return FindAt(text, what, 0) != kNone; }

// An empty separator separates nothing: the text is one piece.
std::vector<std::string> Split(std::string_view text, std::string_view separator) {
  std::vector<std::string> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) return {std::string(text)};
  std::size_t start = 0, search = 0;
  for (std::size_t at; (at = FindAt(text, separator, search)) != kNone;) {
    pieces.emplace_back(text.substr(start, at - start));
    start = at + separator.size();
    search = ResumeAfter(text, at, separator.size());
  }
  if (start < text.size()) pieces.emplace_back(text.substr(start));
  return pieces;
}

// An empty `from` occurs nowhere: the text comes back unchanged.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t start = 0, search = 0;
  for (std::size_t at; (at = FindAt(text, from, search)) != kNone;) {
    out.append(text.substr(start, at - start)).append(to);
    start = at + from.size();
    search = ResumeAfter(text, at, from.size());
  }
  out.append(text.substr(start));
  return out;
}

std::string DeleteAll(std::string_view text, std::string_view what) { return ReplaceAll(text, what, ""); }

// An empty `end` marker reads to the end of the text.
std::string Between(std::string_view text, std::string_view start, std::string_view end) {
  const std::size_t at = FindAt(text, start, 0);
  if (at == kNone) return {};
  const std::size_t from = at + start.size();
  const std::size_t to = end.empty() ? kNone : FindAt(text, end, ResumeAfter(text, at, start.size()));
  return std::string(text.substr(from, to == kNone ? kNone : to - from));
}

std::string TrimBlanks(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size() && IsBlankAt(text, begin)) begin += Step(text, begin);
  // Forward, not from the end: "\xB0\xA1\xA1" ends in a character's trail
  // byte 0xA1 and a lone 0xA1, not in a blank.
  std::size_t end = begin;
  for (std::size_t i = begin; i < text.size(); i += Step(text, i)) {
    if (!IsBlankAt(text, i)) end = i + Step(text, i);
  }
  return std::string(text.substr(begin, end - begin));
}

double ToNumber(std::string_view text) {
  const NumberParts parts = LeadingNumber(text);
  if (parts.whole.empty() && parts.fraction.empty()) return 0;
  // from_chars: correctly rounded and blind to the locale. The digits and the
  // point lie side by side in `text`.
  const char* first = parts.whole.empty() ? parts.fraction.data() - 1 : parts.whole.data();
  const char* last = parts.fraction.empty() ? parts.whole.data() + parts.whole.size()
                                            : parts.fraction.data() + parts.fraction.size();
  double value = 0;
  if (std::from_chars(first, last, value, std::chars_format::fixed).ec == std::errc::result_out_of_range) {
    // Too many digits: an overflow when any digit before the point is not 0,
    // an underflow otherwise.
    const bool huge = parts.whole.find_first_not_of('0') != kNone;
    value = huge ? std::numeric_limits<double>::infinity() : 0;
  }
  return parts.negative ? -value : value;
}

long long ToInteger(std::string_view text) {
  const NumberParts parts = LeadingNumber(text);
  // Read as an integer, not through double: item ids keep every digit.
  long long value = 0;
  const char* first = parts.whole.data() - (parts.negative ? 1 : 0);  // from_chars takes "-", not "+"
  if (!parts.whole.empty() && std::from_chars(first, parts.whole.data() + parts.whole.size(), value).ec ==
                                  std::errc::result_out_of_range) {
    value = parts.negative ? std::numeric_limits<long long>::min() : std::numeric_limits<long long>::max();
  }
  return value;
}

std::string Decimal(long long number) { return std::to_string(number); }

std::string_view Left(std::string_view text, std::size_t n) { return text.substr(0, n); }

std::string_view Right(std::string_view text, std::size_t n) {
  return n >= text.size() ? text : text.substr(text.size() - n);
}

bool EndsWith(std::string_view text, std::string_view ending) { return text.ends_with(ending); }

bool EndsWithWhole(std::string_view text, std::string_view ending) {
  if (ending.size() > text.size()) return false;
  return ResumeAfter(text, 0, text.size() - ending.size()) == text.size() - ending.size() &&
         text.ends_with(ending);
}

std::string_view UpToZero(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

}  // namespace taotu::text
