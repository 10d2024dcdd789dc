#pragma once
#include <string>
#include <string_view>

namespace taotu::platform {

// MD5 digest of the bytes as 32 lower-case hexadecimal digits.
std::string Md5Hex(std::string_view bytes);

}  // namespace taotu::platform
