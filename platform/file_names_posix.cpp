#include "platform/codepage.h"
#include "platform/file_names.h"

namespace taotu::platform {
namespace {

constexpr std::size_t kMaxNameBytes = 255;  // NAME_MAX of the common Linux file systems
constexpr std::size_t kMaxKeptExtension = 16;

std::size_t CharLength(std::string_view s, std::size_t i) {
  return (static_cast<unsigned char>(s[i]) >= 0x80 && i + 1 < s.size()) ? 2 : 1;
}

std::size_t NativeLength(std::string_view gbk) { return GbkToUtf8(gbk).size(); }

// Cuts the stem, a character at a time, until stem + extension fits.
std::string CutToFit(const std::string& name) {
  std::string_view whole = name;
  std::string_view extension;
  if (const auto dot = whole.rfind('.');
      dot != std::string_view::npos && dot > 0 && whole.size() - dot <= kMaxKeptExtension) {
    extension = whole.substr(dot);
  }
  std::string_view stem = whole.substr(0, whole.size() - extension.size());
  std::string cut;
  const std::size_t budget = kMaxNameBytes - NativeLength(extension);
  std::size_t used = 0;
  for (std::size_t i = 0; i < stem.size();) {
    const std::size_t n = CharLength(stem, i);
    const std::size_t grows = NativeLength(stem.substr(i, n));
    if (used + grows > budget) break;
    cut.append(stem.substr(i, n));
    used += grows;
    i += n;
  }
  return cut + std::string(extension);
}

}  // namespace

std::string SafeNamePiece(std::string_view piece) {
  std::string name;
  name.reserve(piece.size());
  for (std::size_t i = 0; i < piece.size();) {
    const std::size_t n = CharLength(piece, i);
    const unsigned char c = static_cast<unsigned char>(piece[i]);
    if (n == 1 && (c == '/' || c == '\\' || c < 0x20 || c == 0x7F)) {
      name += '_';
    } else {
      name.append(piece.substr(i, n));
    }
    i += n;
  }
  if (name.empty() || name == "." || name == "..") name.insert(0, "_");
  if (NativeLength(name) > kMaxNameBytes) name = CutToFit(name);
  return name;
}

}  // namespace taotu::platform
