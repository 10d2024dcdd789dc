#pragma once
// The program's literals are written once, readable, in UTF-8 source and held
// as their GBK bytes: "正在下载中……"_gbk is a const std::string& converted on
// first use, once per literal, thread-safe (a function-local static).
#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace taotu::text {

template <std::size_t N>
struct Utf8Literal {
  char bytes[N];
  constexpr Utf8Literal(const char (&s)[N]) { std::copy_n(s, N, bytes); }
  constexpr std::string_view view() const { return {bytes, N - 1}; }
};

template <Utf8Literal S>
const std::string& operator""_gbk() {
  static const std::string converted = platform::Utf8ToGbk(S.view());
  return converted;
}

}  // namespace taotu::text
