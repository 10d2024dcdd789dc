#include "job/paths.h"

#include <vector>

#include "platform/file_names.h"
#include "text/gbk_text.h"

namespace taotu::job {

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!text::EndsWithWhole(path, "\\")) path += '\\';
  path += name;
  return path;
}

std::string JobFolderPath(std::string_view saveFolder, std::string_view jobFolder) {
  return JoinPath(saveFolder, jobFolder) + "\\";
}

std::string LastPieceName(std::string_view address) {
  const std::vector<std::string> pieces = text::Split(address, "/");
  return platform::SafeNamePiece(pieces.empty() ? std::string() : pieces.back());
}

}  // namespace taotu::job
