#include "csvpack/csv_item.h"

#include "text/gbk_text.h"

namespace taotu::csvpack {

std::string FirstPiece(const std::string& text, std::string_view separator) {
  const std::vector<std::string> pieces = text::Split(text, separator);
  return pieces.empty() ? std::string() : pieces[0];
}

}  // namespace taotu::csvpack
