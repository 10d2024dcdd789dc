#pragma once
// The shopping sites' host names, in one place.
#include <string>
#include <string_view>

#include "text/gbk_literal.h"

namespace taotu::job {

inline constexpr std::string_view kTaobaoDomain = "taobao.com";
inline constexpr std::string_view kTmallDomain = "tmall.com";
inline constexpr std::string_view k1688Domain = "1688.com";
inline constexpr std::string_view kTaobaoItemHost = "item.taobao.com";
inline constexpr std::string_view kTmallItemHost = "detail.tmall.com";
inline constexpr std::string_view k1688OfferHost = "detail.1688.com";

// What Tmall appends to its page titles: a hyphen, the domain and "天猫".
inline const std::string& TmallTitleSuffix() {
  using namespace text;
  return "-tmall.com天猫"_gbk;
}

}  // namespace taotu::job
