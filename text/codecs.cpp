#include "text/codecs.h"

#include "platform/codepage.h"
#include "text/gbk_text.h"

namespace taotu::text {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The leading integer of a piece: blanks skipped, optional sign, digits.
// Saturates far beyond any character code instead of overflowing.
long long LeadingInteger(std::string_view piece) {
  std::size_t i = 0;
  while (i < piece.size() && (piece[i] == ' ' || piece[i] == '\t')) ++i;
  bool negative = false;
  if (i < piece.size() && (piece[i] == '-' || piece[i] == '+')) negative = piece[i++] == '-';
  long long value = 0;
  for (; i < piece.size() && piece[i] >= '0' && piece[i] <= '9'; ++i) {
    if (value < (1LL << 40)) value = value * 10 + (piece[i] - '0');
  }
  return negative ? -value : value;
}

}  // namespace

std::string DateTimeText(const platform::LocalDateTime& t) {
  return Decimal(t.year) + "-" + Decimal(t.month) + "-" + Decimal(t.day) + " " + Decimal(t.hour) + ":" +
         Decimal(t.minute) + ":" + Decimal(t.second);
}

std::string DecodeNumericRefs(std::string& s, std::string_view prefix, std::string_view separator) {
  if (s.empty() || !Contains(s, prefix)) return {};
  s = DeleteAll(s, prefix);
  std::u16string units;
  for (const std::string& piece : Split(s, separator)) {
    const long long code = LeadingInteger(piece);
    if (code >= 1 && code <= 0xFFFF) {
      units += static_cast<char16_t>(code);
    } else if (code > 0xFFFF && code <= 0x10FFFF) {
      units += u'\xFFFD';  // no GBK character: "?"
    }
  }
  return platform::Utf16ToGbk(units);
}

std::string PercentDecode(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    if (s[i] == '%' && i + 2 < s.size() && HexDigit(s[i + 1]) >= 0 && HexDigit(s[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(s[i + 1]) * 16 + HexDigit(s[i + 2]));
      i += 3;
    } else {
      out += s[i];  // also a "%" without two hex digits after it
      i += 1;
    }
  }
  return std::string(UpToZero(out));
}

std::string Utf8ToAnsi(std::string_view bytes) { return platform::Utf8ToGbk(bytes); }

std::string Utf16ToAnsi(std::string_view bytes) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                (static_cast<unsigned char>(bytes[i + 1]) << 8));
    if (unit == 0) break;
    units += unit;
  }
  return platform::Utf16ToGbk(units);
}

std::string Ucs2ToGbk(std::string_view bytes) {
  bool littleEndian = false;
  if (bytes.starts_with("\xFF\xFE")) {
    littleEndian = true;
    bytes.remove_prefix(2);
  } else if (bytes.starts_with("\xFE\xFF")) {
    bytes.remove_prefix(2);
  }
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]),
               second = static_cast<unsigned char>(bytes[i + 1]);
    units += static_cast<char16_t>(littleEndian ? (first | second << 8) : (first << 8 | second));
  }
  return platform::Utf16ToGbk(units);
}

}  // namespace taotu::text
