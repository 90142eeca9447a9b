#include "settings/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>

namespace korvane::settings {

namespace {

constexpr char kReplacement = '?';
const iconv_t kInvalidIconv = reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)
constexpr std::size_t kIconvFailed = static_cast<std::size_t>(-1);

// iconv names, preferred first; the second is an alias for iconv builds that
// lack the first.
std::array<const char*, 2> iconvNames(CodePageId id) {
  switch (id) {
    case CodePageId::Gbk936:
      return {"CP936", "GBK"};
    case CodePageId::Big5_950:
      return {"CP950", "BIG5"};
    case CodePageId::Windows1252:
      return {"CP1252", "WINDOWS-1252"};
    case CodePageId::Utf8:
      break;
  }
  return {"UTF-8", "UTF8"};
}

bool isAscii(std::string_view bytes) {
  return std::ranges::all_of(bytes, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool isContinuation(unsigned char c) {
  return (c & 0xC0U) == 0x80U;
}

// Length of the well-formed UTF-8 sequence starting at `pos`, or 0 when the
// bytes there are not one (overlong forms, surrogates and values above
// U+10FFFF are not well-formed).
std::size_t utf8SequenceLength(std::string_view s, std::size_t pos) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(s[pos + i]); };
  const std::size_t left = s.size() - pos;
  const unsigned char lead = at(0);
  if (lead < 0x80) {
    return 1;
  }
  std::size_t length = 0;
  unsigned char secondMin = 0x80;
  unsigned char secondMax = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) {
      secondMin = 0xA0;
    } else if (lead == 0xED) {
      secondMax = 0x9F;
    }
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) {
      secondMin = 0x90;
    } else if (lead == 0xF4) {
      secondMax = 0x8F;
    }
  } else {
    return 0;
  }
  if (left < length || at(1) < secondMin || at(1) > secondMax) {
    return 0;
  }
  for (std::size_t i = 2; i < length; ++i) {
    if (!isContinuation(at(i))) {
      return 0;
    }
  }
  return length;
}

// Keeps well-formed UTF-8 and turns every other byte into "?".
std::string sanitizeUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  std::size_t pos = 0;
  while (pos < s.size()) {
    const std::size_t length = utf8SequenceLength(s, pos);
    if (length == 0) {
      out += kReplacement;
      ++pos;
    } else {
      out.append(s.substr(pos, length));
      pos += length;
    }
  }
  return out;
}

// Stand-in when no converter can be opened: ASCII survives, the rest is "?".
std::string asciiOnly(std::string_view s, bool inputIsUtf8) {
  std::string out;
  out.reserve(s.size());
  std::size_t pos = 0;
  while (pos < s.size()) {
    const auto c = static_cast<unsigned char>(s[pos]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++pos;
      continue;
    }
    out += kReplacement;
    const std::size_t length = inputIsUtf8 ? utf8SequenceLength(s, pos) : 0;
    pos += length == 0 ? 1 : length;
  }
  return out;
}

class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~IconvHandle() {
    if (valid()) {
      // iconv_close fails only for a descriptor that was never open.
      static_cast<void>(iconv_close(cd_));
    }
  }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;
  IconvHandle(IconvHandle&&) = delete;
  IconvHandle& operator=(IconvHandle&&) = delete;

  bool valid() const { return cd_ != kInvalidIconv; }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

enum class Direction { Decode, Encode };

// Opens the converter under the first name the system knows. With `exact`,
// the first input that does not convert gives nothing instead of a "?".
std::optional<std::string> convert(CodePageId id, std::string_view in, Direction direction,
                                   bool exact = false) {
  for (const char* name : iconvNames(id)) {
    const IconvHandle handle(direction == Direction::Decode ? "UTF-8" : name,
                             direction == Direction::Decode ? name : "UTF-8");
    if (!handle.valid()) {
      continue;
    }
    const iconv_t cd = handle.get();
    std::string out;
    out.reserve(in.size() * 2);
    std::array<char, 256> buffer{};
    // iconv's interface is not const-correct; it never writes through the input.
    char* inPtr = const_cast<char*>(in.data());  // NOLINT(cppcoreguidelines-pro-type-const-cast)
    std::size_t inLeft = in.size();
    bool ok = true;
    while (ok && inLeft > 0) {
      char* outPtr = buffer.data();
      std::size_t outLeft = buffer.size();
      const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
      const int error = errno;
      out.append(buffer.data(), static_cast<std::size_t>(outPtr - buffer.data()));
      if (rc != kIconvFailed) {
        continue;
      }
      if (exact && error != E2BIG) {
        return std::nullopt;
      }
      switch (error) {
        case E2BIG:
          break;
        case EILSEQ: {
          out += kReplacement;
          std::size_t skip = 1;
          if (direction == Direction::Encode) {
            const std::size_t pos = in.size() - inLeft;
            skip = utf8SequenceLength(in, pos);
            if (skip == 0) {
              skip = 1;
            }
          }
          inPtr += skip;
          inLeft -= skip;
          // Forget any half-read state before carrying on after the bad input.
          static_cast<void>(iconv(cd, nullptr, nullptr, nullptr, nullptr));
          break;
        }
        case EINVAL:  // a sequence cut short by the end of the input
          out += kReplacement;
          inLeft = 0;
          break;
        default:
          out += kReplacement;
          ok = false;
          break;
      }
    }
    char* outPtr = buffer.data();
    std::size_t outLeft = buffer.size();
    if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != kIconvFailed) {
      out.append(buffer.data(), static_cast<std::size_t>(outPtr - buffer.data()));
    }
    return out;
  }
  if (exact) {
    return std::nullopt;
  }
  return asciiOnly(in, direction == Direction::Encode);
}

}  // namespace

CodePage::CodePage(CodePageId id) : id_(id) {}

CodePage CodePage::forLanguage(std::string_view languageCode) {
  if (languageCode == "CHS") {
    return CodePage(CodePageId::Gbk936);
  }
  if (languageCode == "CHT") {
    return CodePage(CodePageId::Big5_950);
  }
  if (languageCode == "ENU") {
    return CodePage(CodePageId::Windows1252);
  }
  return CodePage(CodePageId::Gbk936);
}

bool CodePage::isValidUtf8(std::string_view bytes) {
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t length = utf8SequenceLength(bytes, pos);
    if (length == 0) {
      return false;
    }
    pos += length;
  }
  return true;
}

int CodePage::number() const {
  switch (id_) {
    case CodePageId::Gbk936:
      return 936;
    case CodePageId::Big5_950:
      return 950;
    case CodePageId::Windows1252:
      return 1252;
    case CodePageId::Utf8:
      break;
  }
  return 65001;
}

std::string CodePage::toUtf8(std::string_view ansi) const {
  if (isAscii(ansi)) {
    return std::string(ansi);
  }
  if (id_ == CodePageId::Utf8) {
    return sanitizeUtf8(ansi);
  }
  return *convert(id_, ansi, Direction::Decode);
}

std::string CodePage::fromUtf8(std::string_view utf8) const {
  if (isAscii(utf8)) {
    return std::string(utf8);
  }
  if (id_ == CodePageId::Utf8) {
    return sanitizeUtf8(utf8);
  }
  // Invalid UTF-8 input is caught by iconv (EILSEQ) and replaced byte by byte.
  return *convert(id_, utf8, Direction::Encode);
}

std::optional<std::string> CodePage::fromUtf8Exactly(std::string_view utf8) const {
  if (!isValidUtf8(utf8)) {
    return std::nullopt;
  }
  if (isAscii(utf8) || id_ == CodePageId::Utf8) {
    return std::string(utf8);
  }
  return convert(id_, utf8, Direction::Encode, true);
}

}  // namespace korvane::settings
