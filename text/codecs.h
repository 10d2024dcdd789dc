#pragma once
// Conversions the CSV data package and the package reader need.
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace taotu::text {

// "2014-11-10 9:5:3": year-month-day hour:minute:second, no leading zeros.
std::string DateTimeText(const platform::LocalDateTime& t);

// Decodes "&#20013;&#22269;" to GBK "中国". Deletes every prefix from `s` in
// place, in one left-to-right pass, splits the rest at the
// separator and turns each piece's leading integer into one character;
// 0 yields nothing. Empty when `s` is empty or lacks the prefix.
std::string DecodeNumericRefs(std::string& s, std::string_view prefix = "&#",
                              std::string_view separator = ";");

// "%E5%BA%97" -> the bytes E5 BA 97. "+" stays "+". The result ends at a
// decoded zero byte.
std::string PercentDecode(std::string_view s);

// UTF-8 bytes to GBK text; characters GBK lacks become "?".
std::string Utf8ToAnsi(std::string_view bytes);

// UTF-16 little-endian bytes, up to the first zero unit, to GBK text;
// characters GBK lacks become "?".
std::string Utf16ToAnsi(std::string_view bytes);

// A "UCS-2" file (byte-order mark sets the order, big-endian without one) to
// GBK text; characters GBK lacks become "?".
std::string Ucs2ToGbk(std::string_view bytes);

}  // namespace taotu::text
