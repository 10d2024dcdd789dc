#pragma once
// Row text to the bytes of a package file.
#include <deque>
#include <string>
#include <string_view>

namespace taotu::csvpack {

// Every run of three or more quotes becomes two, then every "|||" a quote.
std::string ConvertRowText(std::string_view text);

// CsvHeader, CR LF and the converted text.
std::string BuildCsvFile(std::string_view text);

// CsvHeader, CR LF, then each converted row followed by CR LF.
std::string BuildCompositeFile(const std::deque<std::string>& convertedRows);

}  // namespace taotu::csvpack
