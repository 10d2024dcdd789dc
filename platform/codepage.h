#pragma once
// Code-page conversions at the program's edges. GBK here is Windows code page
// 936 (GBK with 0x80 as the euro sign), the code page of the program's pages
// and files.
#include <string>
#include <string_view>

namespace taotu::platform {

// UTF-8 to GBK. A character GBK lacks, or a malformed UTF-8 sequence, becomes
// "?" (one per character or per malformed byte).
std::string Utf8ToGbk(std::string_view utf8);

// GBK to UTF-8. A byte sequence that is not GBK becomes U+FFFD, one per byte.
std::string GbkToUtf8(std::string_view gbk);

// True when GBK can spell the UTF-8 text: converting it to GBK and back gives
// it unchanged.
bool Utf8SurvivesGbk(std::string_view utf8);

bool IsValidUtf8(std::string_view bytes);

// UTF-16 code units to GBK; a unit GBK lacks (or a lone surrogate) becomes "?".
std::string Utf16ToGbk(std::u16string_view units);

// UTF-8 to UTF-16 code units; a malformed sequence becomes U+FFFD per byte.
std::u16string Utf8ToUtf16(std::string_view utf8);

}  // namespace taotu::platform
