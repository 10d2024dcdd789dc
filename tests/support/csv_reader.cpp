#include "support/csv_reader.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace taotu::testing {

CsvParse ParseCsv(std::string_view bytes) {
  CsvParse result;
  result.endsWithLineBreak = bytes.ends_with("\r\n");
  if (bytes.empty()) return result;

  const std::size_t n = bytes.size();
  std::size_t i = 0;
  std::vector<std::string> record;
  auto fail = [&](std::size_t at, std::string_view what) {
    result.error = "byte " + std::to_string(at) + ": " + std::string(what);
    return std::move(result);
  };

  for (;;) {  // at the start of a field
    std::string field;
    if (i < n && bytes[i] == '"') {
      const std::size_t open = i++;
      for (;;) {
        if (i == n) return fail(open, "quoted field is not closed");
        if (bytes[i] != '"') {
          field += bytes[i++];
        } else if (i + 1 < n && bytes[i + 1] == '"') {
          field += '"';
          i += 2;
        } else {
          ++i;
          break;
        }
      }
      // A bare LF falls through, to be reported as one rather than as stray text.
      if (i < n && bytes[i] != ',' && bytes[i] != '\r' && bytes[i] != '\n')
        return fail(i, "text after a closing quote");
    } else {
      for (; i < n && bytes[i] != ',' && bytes[i] != '\r' && bytes[i] != '\n'; ++i) {
        if (bytes[i] == '"') return fail(i, "quote inside an unquoted field");
        field += bytes[i];
      }
    }
    record.push_back(std::move(field));

    if (i == n) {
      result.records.push_back(std::move(record));
      return result;
    }
    if (bytes[i] == ',') {
      ++i;
      continue;
    }
    if (bytes[i] == '\n') return fail(i, "LF without CR");
    if (i + 1 == n || bytes[i + 1] != '\n') return fail(i, "CR without LF");
    i += 2;
    result.records.push_back(std::move(record));
    record.clear();
    if (i == n) return result;
  }
}

CsvPackage ReadCsvPackage(std::string_view bytes) {
  CsvParse parse = ParseCsv(bytes);
  CsvPackage package;
  package.error = std::move(parse.error);
  package.endsWithLineBreak = parse.endsWithLineBreak;
  auto& records = parse.records;

  if (records.size() > 0) package.version = records[0].front();
  if (records.size() > 1) package.english = std::move(records[1]);
  if (records.size() > 2) package.chinese = std::move(records[2]);
  for (std::size_t r = 3; r < records.size(); ++r) package.rows.push_back(std::move(records[r]));
  if (!package.error.empty()) return package;

  if (records.size() < 3) {
    package.error = std::to_string(records.size()) + " lines, a package has 3 header lines";
  } else if (records[0].size() != 1) {
    package.error = "line 1 has " + std::to_string(records[0].size()) + " fields, not 1";
  } else if (package.english.size() != package.chinese.size()) {
    package.error = "line 2 has " + std::to_string(package.english.size()) + " fields, line 3 " +
                    std::to_string(package.chinese.size());
  } else {
    for (std::size_t r = 0; r < package.rows.size(); ++r) {
      if (package.rows[r].size() == package.english.size()) continue;
      package.error = "row " + std::to_string(r) + " has " + std::to_string(package.rows[r].size()) +
                      " fields, the header " + std::to_string(package.english.size());
      break;
    }
  }
  return package;
}

const std::string& CsvPackage::Field(std::size_t row, std::string_view name) const {
  const auto it = std::find(english.begin(), english.end(), name);
  if (it == english.end()) throw std::out_of_range("no column " + std::string(name));
  const auto column = static_cast<std::size_t>(it - english.begin());
  if (row >= rows.size())
    throw std::out_of_range("no row " + std::to_string(row) + ", the package has " +
                            std::to_string(rows.size()));
  if (column >= rows[row].size())
    throw std::out_of_range("row " + std::to_string(row) + " has " + std::to_string(rows[row].size()) +
                            " fields, column " + std::string(name) + " is field " + std::to_string(column));
  return rows[row][column];
}

}  // namespace taotu::testing
