#pragma once
// The three header lines of a Taobao Assistant data package.
#include <array>
#include <string>
#include <string_view>

namespace taotu::csvpack {

inline constexpr std::size_t kColumnCount = 58;

// English and Chinese (UTF-8) column names, in file order.
extern const std::array<std::string_view, kColumnCount> kEnglishColumns;
extern const std::array<std::string_view, kColumnCount> kChineseColumns;

// "version 1.00", the English names, the Chinese names, joined by CR LF
// (none after the third line), in GBK.
const std::string& CsvHeader();

}  // namespace taotu::csvpack
