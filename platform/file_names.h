#pragma once
// Names that come from remote data (the last piece of an address, an item id,
// a title) are made safe before they join a path.
#include <string>
#include <string_view>

namespace taotu::platform {

// A GBK name piece that stays inside its folder: separators and control
// characters become "_", "." and ".." are changed, an empty piece becomes "_",
// and an over-long name is cut on a character boundary, keeping a short
// extension. Every other character the file system accepts is kept.
std::string SafeNamePiece(std::string_view gbkPiece);

}  // namespace taotu::platform
