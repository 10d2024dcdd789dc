#include "platform/codepage.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>
#include <type_traits>

namespace taotu::platform {
namespace {

// glibc's CP936 (an alias of its GBK) maps 0x80 to the euro sign both ways,
// as Windows code page 936 does.
constexpr const char* kGbk = "CP936";
// char16_t in memory order, so units go to iconv as they lie.
constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
constexpr char16_t kReplacement = u'\xFFFD';
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

struct IconvCloser {
  void operator()(iconv_t cd) const { iconv_close(cd); }
};
using Iconv = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

// Runs `in` through iconv. Where the converter stops at input it cannot take,
// `substitute(rest, out)` appends a stand-in and returns how many bytes of
// `rest` (at least one) it stands for. One converter per call: an iconv_t
// keeps state and must not be shared between threads.
template <class Substitute>
std::string Convert(const char* to, const char* from, std::string_view in, Substitute substitute) {
  const iconv_t opened = iconv_open(to, from);
  if (opened == reinterpret_cast<iconv_t>(-1)) {
    // No silent garbage when the gconv modules are missing.
    throw std::system_error(errno, std::generic_category(), std::string("iconv_open ") + from + " -> " + to);
  }
  const Iconv cd(opened);
  std::string out;
  out.reserve(in.size() + in.size() / 2);
  char buffer[4096];
  char* src = const_cast<char*>(in.data());  // iconv's signature; it only reads
  std::size_t srcLeft = in.size();
  while (srcLeft > 0) {
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    const bool stopped = iconv(cd.get(), &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1);
    const int error = errno;
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    if (stopped && error != E2BIG) {  // EILSEQ, or EINVAL for a cut sequence at the end
      const std::size_t used = substitute(std::string_view(src, srcLeft), out);
      src += used;
      srcLeft -= used;
    }
  }
  return out;
}

bool IsHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// The length of the well-formed UTF-8 sequence `s` starts with, and its code
// point; 0 when the first byte starts none (cut short, overlong, a surrogate
// or beyond U+10FFFF).
std::size_t DecodeUtf8(std::string_view s, char32_t& cp) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = byte(0);
  std::size_t n;
  char32_t least;
  if (lead < 0x80) {
    cp = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    n = 2, cp = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    n = 3, cp = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    n = 4, cp = lead & 0x07, least = 0x10000;
  } else {
    return 0;
  }
  if (n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if ((byte(k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(k) & 0x3F);
  }
  if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

}  // namespace

std::string Utf16ToGbk(std::u16string_view units) {
  const std::string_view bytes(reinterpret_cast<const char*>(units.data()), units.size() * sizeof(char16_t));
  return Convert(kGbk, kUtf16, bytes, [](std::string_view rest, std::string& out) {
    out += '?';
    char16_t pair[2];
    if (rest.size() >= sizeof pair) {
      std::memcpy(pair, rest.data(), sizeof pair);
      // A whole surrogate pair is one character (GBK has none beyond U+FFFF).
      if (IsHighSurrogate(pair[0]) && IsLowSurrogate(pair[1])) return sizeof pair;
    }
    return sizeof(char16_t);
  });
}

std::string Utf8ToGbk(std::string_view utf8) {
  // Malformed bytes become U+FFFD, which GBK lacks: one "?" each.
  return Utf16ToGbk(Utf8ToUtf16(utf8));
}

std::string GbkToUtf8(std::string_view gbk) {
  return Convert("UTF-8", kGbk, gbk, [](std::string_view rest, std::string& out) {
    const auto lead = static_cast<unsigned char>(rest[0]);
    const auto trail = rest.size() > 1 ? static_cast<unsigned char>(rest[1]) : 0;
    // A lead and a trail byte that GBK leaves unassigned go together; a lead
    // before a byte that cannot trail stands alone, so an ASCII byte after it
    // still reads as itself.
    const bool pair = lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
    const std::size_t used = pair ? 2 : 1;
    for (std::size_t k = 0; k < used; ++k) out += kReplacementUtf8;
    return used;
  });
}

bool Utf8SurvivesGbk(std::string_view utf8) { return GbkToUtf8(Utf8ToGbk(utf8)) == utf8; }

bool IsValidUtf8(std::string_view bytes) {
  char32_t cp;
  for (std::size_t n; !bytes.empty(); bytes.remove_prefix(n)) {
    if ((n = DecodeUtf8(bytes, cp)) == 0) return false;
  }
  return true;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  char32_t cp;
  for (std::size_t n; !utf8.empty(); utf8.remove_prefix(n)) {
    n = DecodeUtf8(utf8, cp);
    if (n == 0) {
      out += kReplacement;
      n = 1;
    } else if (cp >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

}  // namespace taotu::platform
