#pragma once
// The list text the command line builds from its entries.
#include <string>
#include <string_view>
#include <vector>

namespace taotu::cli {

// A list file's bytes as list text, as a dropped text file fills the list:
// a file that is valid UTF-8 holding non-ASCII bytes is converted from UTF-8
// (a byte-order mark dropped), any other file is taken as GBK; the text ends
// at its first zero byte; LF-only line ends become CR LF.
std::string ListFileText(std::string_view bytes);

// The file's text, then the argument entries, joined with CR LF.
std::string JoinEntries(std::string_view fileText, const std::vector<std::string>& entries);

}  // namespace taotu::cli
