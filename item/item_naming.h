#pragma once
// How an item's folder is named: its id from the address, its page title.
#include <optional>
#include <string>
#include <string_view>

namespace taotu::item {

// The id after the first "id=" of the address, up to the next "&";
// nullopt when the address holds no "id=" (exact, case-sensitive).
std::optional<std::string> ItemIdOf(std::string_view address);

// The raw text between "<title>" and "</title>"; nullopt when the page holds
// no "<title>" or nothing follows it.
std::optional<std::string> RawTitleOf(std::string_view pageText);

// The title with the shop names removed and the characters a folder name
// cannot hold turned into blanks, brackets given back.
std::string CleanTitle(std::string_view rawTitle);

}  // namespace taotu::item
