#pragma once
// The maker's addresses, in one place. The values are placeholders under the
// reserved ".invalid" domain, so a build nobody configured reaches no one.
namespace taotu::app::maker {

// Host of the version announcement; TAOTU_VERSION_HOST replaces it.
inline constexpr const char* kVersionHost = "update.taotu.invalid";
inline constexpr const char* kVersionPath = "/vorn/var.txt";

inline constexpr const char* kWebsite = "http://www.taotu.invalid/";
inline constexpr const char* kDownloadPage = "http://www.taotu.invalid/download/";
inline constexpr const char* kShop = "http://shop.taotu.invalid/";
inline constexpr const char* kShopBookmark = "http://shop.taotu.invalid/bookmark";
inline constexpr const char* kSupportShopBookmark = "http://support.taotu.invalid/bookmark";
inline constexpr const char* kDaySupportChat = "http://chat.taotu.invalid/?to=day";
inline constexpr const char* kNightSupportChat = "http://chat.taotu.invalid/?to=night";

}  // namespace taotu::app::maker
