#include "csvpack/csv_file.h"

#include "csvpack/csv_header.h"
#include "text/gbk_text.h"

namespace taotu::csvpack {

std::string ConvertRowText(std::string_view text) {
  std::string t(text);
  for (int pass = 0; pass < 999 && text::Contains(t, "\"\"\""); ++pass)
    t = text::ReplaceAll(t, "\"\"\"", "\"\"");
  return text::ReplaceAll(t, "|||", "\"");
}

std::string BuildCsvFile(std::string_view text) { return CsvHeader() + "\r\n" + ConvertRowText(text); }

std::string BuildCompositeFile(const std::deque<std::string>& convertedRows) {
  std::size_t size = CsvHeader().size() + 2;
  for (const std::string& row : convertedRows) size += row.size() + 2;
  std::string file;
  file.reserve(size);
  file += CsvHeader();
  file += "\r\n";
  for (const std::string& row : convertedRows) {
    file += row;
    file += "\r\n";
  }
  return file;
}

}  // namespace taotu::csvpack
