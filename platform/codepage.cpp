#include "platform/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

namespace taotu::platform {
namespace {

constexpr const char* kGbk = "CP936";  // Windows code page 936
constexpr char32_t kReplacement = 0xFFFD;

// One converter per call: iconv_t holds state and must not be shared.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts one whole character; false when the target cannot hold it.
  bool One(std::string_view in, std::string& out) {
    char buffer[16];
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1) || srcLeft != 0)
      return false;
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    return true;
  }

 private:
  iconv_t cd_;
};

// Decodes one UTF-8 sequence at s[i]; returns its length, 0 when malformed.
std::size_t DecodeUtf8(std::string_view s, std::size_t i, char32_t& cp) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
  const unsigned char lead = b(0);
  std::size_t n;
  char32_t min;
  if (lead < 0x80) {
    cp = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    n = 2, cp = lead & 0x1F, min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    n = 3, cp = lead & 0x0F, min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    n = 4, cp = lead & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if ((b(k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b(k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

void AppendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Code points to GBK, "?" for each one GBK lacks.
template <class Next>
std::string ToGbk(Next next) {
  Converter toGbk(kGbk, "UTF-8");
  std::string out;
  char32_t cp;
  std::string utf8;
  while (next(cp)) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
      continue;
    }
    utf8.clear();
    AppendUtf8(cp, utf8);
    if (cp == kReplacement || !toGbk.One(utf8, out)) out += '?';
  }
  return out;
}

}  // namespace

std::string Utf8ToGbk(std::string_view utf8) {
  std::size_t i = 0;
  return ToGbk([&](char32_t& cp) {
    if (i >= utf8.size()) return false;
    const std::size_t n = DecodeUtf8(utf8, i, cp);
    if (n == 0) {
      cp = kReplacement;
      i += 1;
    } else {
      i += n;
    }
    return true;
  });
}

std::string Utf16ToGbk(std::u16string_view units) {
  std::size_t i = 0;
  return ToGbk([&](char32_t& cp) {
    if (i >= units.size()) return false;
    const char16_t u = units[i++];
    if (u >= 0xD800 && u <= 0xDBFF && i < units.size() && units[i] >= 0xDC00 && units[i] <= 0xDFFF) {
      cp = 0x10000 + ((u - 0xD800) << 10) + (units[i++] - 0xDC00);
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      cp = kReplacement;
    } else {
      cp = u;
    }
    return true;
  });
}

std::string GbkToUtf8(std::string_view gbk) {
  Converter fromGbk("UTF-8", kGbk);
  std::string out;
  out.reserve(gbk.size() + gbk.size() / 2);
  for (std::size_t i = 0; i < gbk.size();) {
    const unsigned char c = static_cast<unsigned char>(gbk[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      i += 1;
    } else if (i + 1 < gbk.size() && fromGbk.One(gbk.substr(i, 2), out)) {
      i += 2;
    } else if (fromGbk.One(gbk.substr(i, 1), out)) {  // 0x80, the euro sign
      i += 1;
    } else {
      AppendUtf8(kReplacement, out);
      i += 1;
    }
  }
  return out;
}

bool Utf8SurvivesGbk(std::string_view utf8) { return GbkToUtf8(Utf8ToGbk(utf8)) == utf8; }

bool IsValidUtf8(std::string_view bytes) {
  char32_t cp;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t n = DecodeUtf8(bytes, i, cp);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  char32_t cp;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t n = DecodeUtf8(utf8, i, cp);
    if (n == 0) {
      cp = kReplacement;
      i += 1;
    } else {
      i += n;
    }
    if (cp >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

}  // namespace taotu::platform
