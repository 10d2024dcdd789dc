#include "cli/list_file.h"

#include <algorithm>

#include "platform/codepage.h"
#include "text/gbk_text.h"

namespace taotu::cli {

std::string ListFileText(std::string_view bytes) {
  bytes = text::UpToZero(bytes);
  std::string gbk;
  const bool hasNonAscii =
      std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  if (hasNonAscii && platform::IsValidUtf8(bytes)) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    gbk = platform::Utf8ToGbk(bytes);
  } else {
    gbk = bytes;
  }
  std::string text;
  text.reserve(gbk.size() + gbk.size() / 16);
  for (std::size_t i = 0; i < gbk.size(); ++i) {
    if (gbk[i] == '\n' && (i == 0 || gbk[i - 1] != '\r')) text += '\r';
    text += gbk[i];
  }
  return text;
}

std::string JoinEntries(std::string_view fileText, const std::vector<std::string>& entries) {
  std::string list(fileText);
  if (list.ends_with("\r\n")) list.resize(list.size() - 2);
  for (const std::string& entry : entries) {
    if (!list.empty()) list += "\r\n";
    list += entry;
  }
  return list;
}

}  // namespace taotu::cli
