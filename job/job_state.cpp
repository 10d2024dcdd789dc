#include "job/job_state.h"

#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::job {

using namespace text;

std::string CompactDateTime(const platform::LocalDateTime& t) {
  return Decimal(t.year) + Decimal(t.month) + Decimal(t.day) + Decimal(t.hour) + Decimal(t.minute) +
         Decimal(t.second);
}

std::string JobFolderName(const platform::LocalDateTime& now, int count) {
  return CompactDateTime(now) + "共淘图"_gbk + Decimal(count) + "个地址"_gbk;
}

namespace {

// A trail byte 0x5C of a double-byte character is not a final backslash.
bool EndsWithBackslash(std::string_view path) {
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); i += (static_cast<unsigned char>(path[i]) >= 0x80) ? 2 : 1) {
    last = i;
  }
  return last != std::string_view::npos && last == path.size() - 1 && path[last] == '\\';
}

}  // namespace

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!EndsWithBackslash(path)) path += '\\';
  path += name;
  return path;
}

}  // namespace taotu::job
