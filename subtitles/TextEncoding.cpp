#include "subtitles/TextEncoding.h"

#include "subtitles/CodePageDetection.h"
#include "subtitles/Utf8Append.h"

#include <iconv.h>
#include <langinfo.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>
#include <stdexcept>
#include <string>

namespace orlisk {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";  // U+FFFD
constexpr const char* kUtf8 = "UTF-8";
constexpr const char* kWindows1252 = "WINDOWS-1252";
constexpr const char* kGb18030 = "GB18030";

// An open iconv conversion, closed when it goes out of scope.
class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(::iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("The character set ") + from + " or " + to +
                               " is not available on this system");
    }
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  ~Converter() { ::iconv_close(handle_); }

  // Converts all of `input`; a byte sequence the conversion refuses is passed
  // to `onRefused`, which appends a stand-in and says how many bytes to skip.
  template <typename OnRefused>
  std::string convert(std::string_view input, OnRefused onRefused) {
    std::string output;
    std::array<char, 4096> buffer{};
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
      char* out = buffer.data();
      std::size_t outLeft = buffer.size();
      const std::size_t result = ::iconv(handle_, &in, &inLeft, &out, &outLeft);
      output.append(buffer.data(), buffer.size() - outLeft);
      if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
      // EILSEQ or EINVAL (a sequence cut off at the end): skip it and go on.
      const std::size_t skip = std::min(inLeft, onRefused(std::string_view(in, inLeft), output));
      in += skip;
      inLeft -= skip;
      ::iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    }
    return output;
  }

 private:
  iconv_t handle_;
};

// The length of the UTF-8 character at the front of `text`, or 0 when the
// bytes there are not one (overlong forms, surrogates and values above
// U+10FFFF included).
std::size_t Utf8CharacterLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
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
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

bool IsValidUtf8(std::string_view text) {
  while (!text.empty()) {
    const std::size_t length = Utf8CharacterLength(text);
    if (length == 0) return false;
    text.remove_prefix(length);
  }
  return true;
}


constexpr char32_t kReplacement = 0xFFFD;

// The Unicode encodings a byte-order mark announces. UTF-32 is tested first:
// its little-endian mark begins with the UTF-16 one.
enum class WideEncoding { Utf16Le, Utf16Be, Utf32Le, Utf32Be };

const char* WideEncodingName(WideEncoding encoding) {
  switch (encoding) {
    case WideEncoding::Utf16Le: return "UTF-16LE";
    case WideEncoding::Utf16Be: return "UTF-16BE";
    case WideEncoding::Utf32Le: return "UTF-32LE";
    case WideEncoding::Utf32Be: return "UTF-32BE";
  }
  return "UTF-16LE";
}

std::optional<WideEncoding> WideByteOrderMark(std::string_view bytes) {
  if (bytes.starts_with(std::string_view("\xFF\xFE\0\0", 4))) return WideEncoding::Utf32Le;
  if (bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4))) return WideEncoding::Utf32Be;
  if (bytes.starts_with("\xFF\xFE")) return WideEncoding::Utf16Le;
  if (bytes.starts_with("\xFE\xFF")) return WideEncoding::Utf16Be;
  return std::nullopt;
}

// UTF-16 or UTF-32 after its mark, to UTF-8. A unit that is no character (a
// lone surrogate, a value above U+10FFFF, bytes cut off at the end) becomes U+FFFD.
std::string DecodeWide(std::string_view bytes, WideEncoding encoding) {
  const bool wide32 = encoding == WideEncoding::Utf32Le || encoding == WideEncoding::Utf32Be;
  const bool little = encoding == WideEncoding::Utf16Le || encoding == WideEncoding::Utf32Le;
  const std::size_t unitSize = wide32 ? 4 : 2;
  bytes.remove_prefix(unitSize);  // the mark
  const auto unitAt = [&](std::size_t offset) {
    char32_t unit = 0;
    for (std::size_t i = 0; i < unitSize; ++i) {
      const auto byte = static_cast<unsigned char>(bytes[offset + (little ? unitSize - 1 - i : i)]);
      unit = (unit << 8) | byte;
    }
    return unit;
  };
  std::string out;
  out.reserve(bytes.size());
  std::size_t at = 0;
  for (; at + unitSize <= bytes.size(); at += unitSize) {
    char32_t unit = unitAt(at);
    if (!wide32 && unit >= 0xD800 && unit <= 0xDBFF && at + 2 * unitSize <= bytes.size()) {
      const char32_t low = unitAt(at + unitSize);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        at += unitSize;
      }
    }
    const bool character = unit <= 0x10FFFF && !(unit >= 0xD800 && unit <= 0xDFFF);
    AppendUtf8(out, character ? unit : kReplacement);
  }
  if (at < bytes.size()) AppendUtf8(out, kReplacement);
  return out;
}

// Windows-1252 by table: bytes 0x80-0x9F are its own; the five bytes it
// leaves undefined map to the C1 controls of the same value, as Windows does.
std::string DecodeWindows1252(std::string_view bytes) {
  static constexpr std::array<char16_t, 32> kHighControls = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char b : bytes) {
    const auto byte = static_cast<unsigned char>(b);
    AppendUtf8(out, (byte >= 0x80 && byte < 0xA0) ? kHighControls[byte - 0x80] : byte);
  }
  return out;
}

// Text that is UTF-8 apart from a few bytes (a stray byte from another
// program, a word pasted in another code page) keeps its UTF-8, and only the
// runs of bytes that are not UTF-8 are read in the legacy code page. "A few":
// at most a quarter of the bytes above 0x7F. Legacy text does not pass: a
// pair of GB18030 bytes happens to be a UTF-8 character about one time in
// eight, a Windows-1252 letter almost never.
std::optional<std::string> DecodeMostlyUtf8(std::string_view bytes, LegacyCodePage fallback) {
  std::size_t multibyte = 0;
  std::size_t invalid = 0;
  std::size_t high = 0;
  for (std::string_view rest = bytes; !rest.empty();) {
    high += static_cast<unsigned char>(rest.front()) >= 0x80 ? 1 : 0;
    const std::size_t length = Utf8CharacterLength(rest);
    if (length == 0) {
      ++invalid;
      rest.remove_prefix(1);
    } else {
      multibyte += length > 1 ? 1 : 0;
      high += length - 1;
      rest.remove_prefix(length);
    }
  }
  if (multibyte == 0 || invalid * 4 > high) return std::nullopt;
  // Short Chinese text in GBK can pass that test: its pairs form a UTF-8
  // character now and then ("新版本" is one bad byte and two characters).
  // Unless UTF-8 clearly wins, text that is whole and valid in GB18030 is read
  // as GB18030.
  constexpr std::size_t kCharactersPerBadByte = 8;
  if (fallback == LegacyCodePage::Gb18030 && invalid * kCharactersPerBadByte > multibyte &&
      ConvertToUtf8(bytes, "GB18030").find(kReplacementCharacter) == std::string::npos)
    return std::nullopt;

  std::string out;
  out.reserve(bytes.size() + invalid * 2);
  std::size_t runStart = 0;
  const auto flushRun = [&](std::size_t end) {
    if (end == runStart) return;
    const std::string_view run = bytes.substr(runStart, end - runStart);
    out += fallback == LegacyCodePage::Gb18030 ? ConvertToUtf8(run, "GB18030") : DecodeWindows1252(run);
  };
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t length = Utf8CharacterLength(bytes.substr(at));
    if (length == 0) {
      ++at;
      continue;
    }
    flushRun(at);
    out.append(bytes.substr(at, length));
    at += length;
    runStart = at;
  }
  flushRun(at);
  return out;
}

// The locale's character set; the plain C locale counts as UTF-8, since
// reading or writing files in 7-bit ASCII would lose every other character.
std::string LocaleCharset() {
  const std::string codeset = ::nl_langinfo(CODESET);
  if (codeset.empty() || codeset == "ANSI_X3.4-1968" || codeset == "ASCII" || codeset == "US-ASCII") {
    return "UTF-8";
  }
  return codeset;
}

bool IsUtf8Name(const std::string& charset) { return charset == kUtf8 || charset == "utf8"; }

// Bytes in a named set to UTF-8, or nothing when iconv does not know the set
// or the bytes are not valid in it. Windows-1252 is read by its table, which
// refuses nothing.
std::optional<std::string> ConvertWhole(std::string_view bytes, const std::string& charset) {
  if (charset == kWindows1252) return DecodeWindows1252(bytes);
  try {
    Converter converter(kUtf8, charset.c_str());
    bool refused = false;
    std::string text = converter.convert(bytes, [&](std::string_view rest, std::string&) {
      refused = true;
      return rest.size();
    });
    if (!refused) return text;
  } catch (const std::runtime_error&) {
    // A set iconv does not know.
  }
  return std::nullopt;
}

std::size_t CountHighBytes(std::string_view bytes) {
  return static_cast<std::size_t>(
      std::count_if(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
}

// Whether there is text enough to trust a detected code page over the
// interface's (the counts in TextEncoding.h).
bool EnoughToDetect(std::string_view bytes, LegacyCodePage fallback) {
  const std::size_t high = CountHighBytes(bytes);
  if (high < kBytesToDetect) return false;
  return fallback != LegacyCodePage::Gb18030 || high >= kBytesToOutweighGb18030 || !ConvertWhole(bytes, kGb18030);
}

// The reading of DecodeText, with the detection of the code page before the
// legacy one when `detect` is set.
DecodedText Decode(std::string_view bytes, LegacyCodePage fallback, bool detect) {
  if (const auto wide = WideByteOrderMark(bytes)) return {DecodeWide(bytes, *wide), WideEncodingName(*wide)};
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  if (IsValidUtf8(bytes)) return {std::string(bytes), kUtf8};
  // Bytes valid in an 8-bit or double-byte locale are what this program
  // writes there.
  const std::string charset = LocaleCharset();
  if (!IsUtf8Name(charset)) {
    if (auto text = ConvertWhole(bytes, charset)) return {std::move(*text), charset};
  }
  if (auto repaired = DecodeMostlyUtf8(bytes, fallback)) return {std::move(*repaired), kUtf8};
  if (detect && EnoughToDetect(bytes, fallback)) {
    if (const auto detected = DetectCodePage(bytes)) {
      if (auto text = ConvertWhole(bytes, *detected)) return {std::move(*text), *detected};
    }
  }
  if (fallback == LegacyCodePage::Gb18030) return {ConvertToUtf8(bytes, kGb18030), kGb18030};
  return {DecodeWindows1252(bytes), kWindows1252};
}

}  // namespace

std::string ConvertToUtf8(std::string_view bytes, const char* fromCharset) {
  Converter converter("UTF-8", fromCharset);
  return converter.convert(bytes, [](std::string_view, std::string& out) {
    out += kReplacementCharacter;
    return std::size_t{1};
  });
}

std::string ConvertFromUtf8(std::string_view utf8, const char* toCharset) {
  Converter converter(toCharset, "UTF-8");
  return converter.convert(utf8, [](std::string_view rest, std::string& out) {
    out += '?';
    return std::max<std::size_t>(1, Utf8CharacterLength(rest));
  });
}

std::string DecodeText(std::string_view bytes, LegacyCodePage fallback) {
  return Decode(bytes, fallback, false).Text;
}

DecodedText DecodeSubtitleText(std::string_view bytes, LegacyCodePage fallback, std::string_view chosenCharset) {
  // A byte-order mark cannot be mistaken: no subtitle file in a legacy code
  // page begins with those bytes.
  if (chosenCharset.empty() || WideByteOrderMark(bytes) || bytes.starts_with(kUtf8Bom))
    return Decode(bytes, fallback, true);
  const std::string charset(chosenCharset);
  if (charset == kWindows1252) return {DecodeWindows1252(bytes), charset};
  return {ConvertToUtf8(bytes, charset.c_str()), charset};
}

std::string EncodeText(std::string_view utf8) {
  const std::string charset = LocaleCharset();
  if (IsUtf8Name(charset)) return std::string(utf8);
  return ConvertFromUtf8(utf8, charset.c_str());
}

std::string CutUtf8(std::string_view utf8, std::size_t maxBytes) {
  if (utf8.size() <= maxBytes) return std::string(utf8);
  const auto isContinuation = [&](std::size_t i) {
    return (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80;
  };
  // Find where the character holding byte maxBytes begins (a UTF-8 character
  // has at most three continuation bytes) and cut there when it would be split.
  std::size_t lead = maxBytes;
  while (lead > 0 && maxBytes - lead < 3 && isContinuation(lead)) --lead;
  const auto leadByte = static_cast<unsigned char>(utf8[lead]);
  const std::size_t declaredLength = leadByte >= 0xF0 ? 4 : leadByte >= 0xE0 ? 3 : leadByte >= 0xC0 ? 2 : 1;
  const std::size_t cut = (lead < maxBytes && lead + declaredLength > maxBytes) ? lead : maxBytes;
  return std::string(utf8.substr(0, cut));
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace orlisk
