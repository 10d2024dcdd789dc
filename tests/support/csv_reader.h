#pragma once
// A strict reader for the CSV the program writes, so tests look at packages
// the way Taobao Assistant does instead of searching their bytes.
//
// Bytes are read as they are: GBK needs no decoding here, since a GBK trail
// byte is never '"', ',', CR or LF.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace taotu::testing {

struct CsvParse {
  std::vector<std::vector<std::string>> records;  // fields as read: quotes removed, "" -> "
  // Empty when the bytes are well-formed; otherwise "byte N: what is wrong",
  // and records holds the records completed before that byte.
  std::string error;
  bool endsWithLineBreak = false;  // the bytes end with CR LF
};

// RFC 4180, strictly: records end with CR LF only (a bare CR or LF outside
// quotes is an error), a quote inside an unquoted field is an error, a closing
// quote must be followed by ",", CR LF or the end, and a quoted field must be
// closed. A final CR LF ends the last record and adds none; no bytes, no records.
CsvParse ParseCsv(std::string_view bytes);

// A written package: line 1 the version, lines 2 and 3 the English and the
// Chinese column names, then the rows.
struct CsvPackage {
  std::string version;
  std::vector<std::string> english, chinese;
  std::vector<std::vector<std::string>> rows;
  // A parse error, or the first header or row width problem ("row 2 has 57
  // fields, the header 58", rows counted from 0 as in `rows`). The parts that
  // could be read are still filled in.
  std::string error;
  bool endsWithLineBreak = false;

  // The field of `row` (from 0) under the first English column called `name`;
  // throws std::out_of_range for an unknown column, a missing row or a row too
  // short to have that column.
  const std::string& Field(std::size_t row, std::string_view name) const;
};

// Parses and checks: at least 3 records, line 1 exactly one field, lines 2 and
// 3 the same number of fields, every row that many.
CsvPackage ReadCsvPackage(std::string_view bytes);

}  // namespace taotu::testing
