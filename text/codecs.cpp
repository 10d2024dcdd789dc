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

// The UTF-16 unit a reference stands for, 0 for none (0, negatives, values
// beyond Unicode). Every reference stands alone, so a surrogate is a lone one
// even beside its partner; above U+FFFF GBK has nothing either: "?" for both.
char16_t ReferencedUnit(long long code) {
  if (code < 1 || code > 0x10FFFF) return 0;
  if (code > 0xFFFF || (code >= 0xD800 && code <= 0xDFFF)) return u'\xFFFD';
  return static_cast<char16_t>(code);
}

// The 16-bit units of `bytes`; an odd last byte is no unit.
std::u16string Units(std::string_view bytes, bool littleEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]),
               second = static_cast<unsigned char>(bytes[i + 1]);
    units += static_cast<char16_t>(littleEndian ? (first | second << 8) : (first << 8 | second));
  }
  return units;
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
  // ToInteger reads a piece as the references want: blanks, sign, digits.
  for (const std::string& piece : Split(s, separator)) {
    if (const char16_t unit = ReferencedUnit(ToInteger(piece))) units += unit;
  }
  return platform::Utf16ToGbk(units);
}

// A "%" without two hexadecimal digits after it is kept as it is.
std::string PercentDecode(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size() && HexDigit(s[i + 1]) >= 0 && HexDigit(s[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(s[i + 1]) * 16 + HexDigit(s[i + 2]));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return std::string(UpToZero(out));
}

std::string Utf8ToAnsi(std::string_view bytes) {
  // A zero byte in UTF-8 is always U+0000, the unit the UTF-16 step stops at.
  return platform::Utf8ToGbk(UpToZero(bytes));
}

std::string Utf16ToAnsi(std::string_view bytes) {
  const std::u16string units = Units(bytes, true);
  return platform::Utf16ToGbk(std::u16string_view(units).substr(0, units.find(u'\0')));
}

// Every unit is converted, zero units too: the caller takes the result as text.
std::string Ucs2ToGbk(std::string_view bytes) {
  const bool littleEndian = bytes.starts_with("\xFF\xFE");
  if (littleEndian || bytes.starts_with("\xFE\xFF")) bytes.remove_prefix(2);
  return platform::Utf16ToGbk(Units(bytes, littleEndian));
}

}  // namespace taotu::text
