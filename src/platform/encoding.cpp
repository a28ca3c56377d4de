#include "platform/encoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace quillmar {
namespace {

constexpr const char* kSjis = "CP932";
constexpr const char* kUtf8 = "UTF-8";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// One conversion descriptor for the length of a call.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      std::fprintf(stderr, "quillmar: iconv cannot convert %s to %s\n", from, to);
      std::abort();
    }
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much of `in` as possible, appending to `out`. Returns false and leaves
  // `in` at the offending byte when a sequence cannot be converted.
  bool Convert(std::string_view& in, std::string& out) {
    char buffer[1024];
    while (!in.empty()) {
      char* src = const_cast<char*>(in.data());
      std::size_t src_left = in.size();
      char* dst = buffer;
      std::size_t dst_left = sizeof buffer;
      const std::size_t rc = iconv(cd_, &src, &src_left, &dst, &dst_left);
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      in.remove_prefix(in.size() - src_left);
      if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
  }

 private:
  iconv_t cd_;
};

// Length of the UTF-8 sequence at the start of `text`: the whole character when its lead
// byte and continuation bytes are well formed, else 1.
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text.front());
  const std::size_t length = lead >= 0xF0 && lead <= 0xF4   ? 4
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xC2 && lead <= 0xDF ? 2
                                                            : 1;
  if (length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

}  // namespace

bool IsUtf8Text(std::string_view bytes, bool cut_at_end) {
  bool multi_byte = false;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    // The length of the sequence and the range of its second byte (no overlong forms, no
    // surrogates, nothing above U+10FFFF).
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    for (std::size_t k = 1; k < length; ++k) {
      if (i + k >= bytes.size()) return cut_at_end && multi_byte;
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return false;
    }
    multi_byte = true;
    i += length;
  }
  return multi_byte;
}

std::optional<std::string> Utf8ToSjis(std::string_view utf8) {
  Converter converter(kSjis, kUtf8);
  std::string out;
  if (!converter.Convert(utf8, out)) return std::nullopt;
  return out;
}

std::string Utf8ToSjisReplacing(std::string_view utf8) {
  Converter converter(kSjis, kUtf8);
  std::string out;
  while (!converter.Convert(utf8, out)) {
    out.push_back('?');
    utf8.remove_prefix(Utf8SequenceLength(utf8));
  }
  return out;
}

std::string SjisToUtf8(std::string_view sjis) {
  Converter converter(kUtf8, kSjis);
  std::string out;
  while (!converter.Convert(sjis, out)) {
    // Skip the undecodable byte; a lead byte without its trail is skipped alone.
    out.append(kReplacement);
    sjis.remove_prefix(1);
  }
  return out;
}

Utf16Decoded Utf16ToUtf8(std::string_view utf16, std::endian order) {
  Converter converter(kUtf8, order == std::endian::little ? "UTF-16LE" : "UTF-16BE");
  Utf16Decoded decoded;
  decoded.whole = converter.Convert(utf16, decoded.utf8);
  return decoded;
}

std::string Sjis(std::string_view utf8_literal) {
  auto converted = Utf8ToSjis(utf8_literal);
  if (!converted) {
    std::fprintf(stderr, "quillmar: literal without a Shift_JIS form: %.*s\n",
                 static_cast<int>(utf8_literal.size()), utf8_literal.data());
    std::abort();
  }
  return *std::move(converted);
}

}  // namespace quillmar
