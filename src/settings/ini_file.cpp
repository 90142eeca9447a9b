#include "settings/ini_file.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "files/file_io.h"
#include "files/text_lines.h"

namespace korvane::settings {

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The blanks the profile functions strip. NUL is not one of them: a NUL byte
// is kept like any other byte.
bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v';
}

std::string_view trimLeft(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) {
    s.remove_prefix(1);
  }
  return s;
}

std::string_view trimRight(std::string_view s) {
  while (!s.empty() && isBlank(s.back())) {
    s.remove_suffix(1);
  }
  return s;
}

std::string_view trim(std::string_view s) {
  return trimRight(trimLeft(s));
}

char asciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names compare without regard to ASCII case: the index holds them folded.
std::string foldAsciiCase(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    c = asciiLower(c);
  }
  return folded;
}

// A line end never occurs in a name, so it joins section and key unambiguously.
std::string keyIndexName(std::string_view foldedSection, std::string_view key) {
  std::string name(foldedSection);
  name += '\n';
  name += foldAsciiCase(key);
  return name;
}

enum class LineKind { Other, Section, Key };

struct ParsedLine {
  LineKind kind = LineKind::Other;
  std::string_view name;
  std::string_view value;
  std::size_t valueStart = 0;  // offset of the value in the line (after "=" and blanks)
};

// "=", ";", "[", CR and LF are below 0x40, so none of them can be the second
// byte of a GBK or Big5 character; "]" can, but it only matters in a section
// line, whose names are ASCII.
ParsedLine parseLine(std::string_view text) {
  ParsedLine parsed;
  const std::string_view content = trimLeft(text);
  if (content.empty() || content.front() == ';') {
    return parsed;
  }
  if (content.front() == '[') {
    const std::string_view body = content.substr(1);
    parsed.kind = LineKind::Section;
    parsed.name = trim(body.substr(0, body.find(']')));
    return parsed;
  }
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) {
    return parsed;
  }
  parsed.kind = LineKind::Key;
  parsed.name = trim(text.substr(0, equals));
  std::size_t valueStart = equals + 1;
  while (valueStart < text.size() && isBlank(text[valueStart])) {
    ++valueStart;
  }
  parsed.valueStart = valueStart;
  parsed.value = trimRight(text.substr(valueStart));
  return parsed;
}

bool isBlankLine(std::string_view text) {
  return trimLeft(text).empty();
}

}  // namespace

std::optional<int> parseProfileInt(std::string_view text) {
  std::string_view s = trimLeft(text);
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty() || s.front() < '0' || s.front() > '9') {
    return std::nullopt;
  }
  // Unsigned arithmetic wraps modulo 2^32, which is the rule.
  std::uint32_t value = 0;
  while (!s.empty() && s.front() >= '0' && s.front() <= '9') {
    value = value * 10U + static_cast<std::uint32_t>(s.front() - '0');
    s.remove_prefix(1);
  }
  if (negative) {
    value = 0U - value;
  }
  return static_cast<std::int32_t>(value);
}

IniFile IniFile::load(const std::filesystem::path& path, const CodePage& legacy) {
  const files::FileContent content = files::readFile(path);
  if (!content.bytes) {
    IniFile missing;
    missing.path_ = path;
    missing.tooLarge_ = content.tooLarge;
    if (content.tooLarge) {
      missing.unread_ = files::FileError{files::FileFailure::KeptTooLarge, path, {}};
    } else if (content.unreadable) {
      missing.unread_ = files::FileError{files::FileFailure::KeptUnreadable, path, content.reason};
    }
    return missing;
  }
  return fromBytes(*content.bytes, legacy, path);
}

IniFile IniFile::fromBytes(std::string_view bytes, const CodePage& legacy,
                           std::filesystem::path path) {
  IniFile file;
  file.path_ = std::move(path);
  file.exists_ = true;
  if (bytes.starts_with(kUtf8ByteOrderMark)) {
    bytes.remove_prefix(kUtf8ByteOrderMark.size());
    file.byteOrderMark_ = true;
  } else if (!CodePage::isValidUtf8(bytes)) {
    file.codePage_ = legacy;
  }
  const std::vector<files::TextLine> lines = files::splitLines(bytes);
  // Added lines take the first line end the file uses.
  if (!lines.empty() && !lines.front().ending.empty()) {
    file.newline_ = std::string(lines.front().ending);
  }
  for (const files::TextLine& line : lines) {
    file.lines_.push_back(Line{std::string(line.text), std::string(line.ending)});
  }
  return file;
}

const IniFile::Index& IniFile::index() const {
  if (index_) {
    return *index_;
  }
  Index& index = index_.emplace();
  // Keys count only under the first occurrence of their section; key lines
  // before the first section belong to none.
  std::optional<std::string> section;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const ParsedLine parsed = parseLine(lines_[i].text);
    if (parsed.kind == LineKind::Section) {
      std::string folded = foldAsciiCase(parsed.name);
      if (index.sections.emplace(folded, i).second) {
        section = std::move(folded);
      } else {
        section.reset();
      }
    } else if (parsed.kind == LineKind::Key && section) {
      index.keys.emplace(keyIndexName(*section, parsed.name), i);
    }
  }
  return index;
}

std::optional<std::size_t> IniFile::findSection(std::string_view encodedSection) const {
  const Index& lookup = index();
  const auto found = lookup.sections.find(foldAsciiCase(encodedSection));
  if (found == lookup.sections.end()) {
    return std::nullopt;
  }
  return found->second;
}

std::optional<std::size_t> IniFile::findKey(std::string_view section, std::string_view key) const {
  const Index& lookup = index();
  const auto found = lookup.keys.find(keyIndexName(foldAsciiCase(section), key));
  if (found == lookup.keys.end()) {
    return std::nullopt;
  }
  return found->second;
}

std::optional<std::string_view> IniFile::rawValue(std::string_view section,
                                                  std::string_view key) const {
  const std::string encodedSection = codePage_.fromUtf8(trim(section));
  const std::string encodedKey = codePage_.fromUtf8(trim(key));
  const std::optional<std::size_t> index = findKey(encodedSection, encodedKey);
  if (!index) {
    return std::nullopt;
  }
  return parseLine(lines_[*index].text).value;
}

bool IniFile::hasSection(std::string_view section) const {
  return findSection(codePage_.fromUtf8(trim(section))).has_value();
}

bool IniFile::lacksSection(std::string_view section) const {
  if (!exists_ || hasSection(section)) {
    return false;
  }
  return std::any_of(lines_.begin(), lines_.end(),
                     [](const Line& line) { return !isBlankLine(line.text); });
}

std::optional<files::FileError> IniFile::writeRefusal(std::string_view section) const {
  if (unread_) {
    return unread_;
  }
  if (lacksSection(section)) {
    return files::FileError{files::FileFailure::KeptNotOurs, path_, std::string(trim(section))};
  }
  return std::nullopt;
}

bool IniFile::hasKey(std::string_view section, std::string_view key) const {
  return rawValue(section, key).has_value();
}

int IniFile::readInt(std::string_view section, std::string_view key, int defaultValue) const {
  const std::optional<std::string_view> value = rawValue(section, key);
  if (!value || value->empty()) {
    return defaultValue;
  }
  return parseProfileInt(*value).value_or(0);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool defaultValue) const {
  const std::optional<std::string_view> value = rawValue(section, key);
  if (!value || value->empty()) {
    return defaultValue;
  }
  return parseProfileInt(*value).value_or(0) != 0;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  const std::optional<std::string_view> value = rawValue(section, key);
  if (!value) {
    return std::string(defaultValue);
  }
  return codePage_.toUtf8(*value);
}

void IniFile::writeInt(std::string_view section, std::string_view key, int value) {
  writeRaw(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
  writeRaw(section, key, value ? "1" : "0");
}

void IniFile::writeString(std::string_view section, std::string_view key,
                          std::string_view utf8Value) {
  std::optional<std::string> encoded = codePage_.fromUtf8Exactly(utf8Value);
  if (!encoded && codePage_.id() != CodePageId::Utf8) {
    convertToUtf8();
    encoded = codePage_.fromUtf8Exactly(utf8Value);
  }
  // Only text that is not UTF-8 itself still falls to "?" here.
  writeRaw(section, key, encoded ? *std::move(encoded) : codePage_.fromUtf8(utf8Value));
}

void IniFile::convertToUtf8() {
  for (Line& line : lines_) {
    line.text = codePage_.toUtf8(line.text);
  }
  codePage_ = CodePage(CodePageId::Utf8);
  // Names in the code page are new bytes now.
  index_.reset();
}

void IniFile::writeRaw(std::string_view section, std::string_view key, std::string value) {
  for (char& c : value) {
    if (c == '\r' || c == '\n') {
      c = ' ';
    }
  }
  const std::string encodedSection = codePage_.fromUtf8(trim(section));
  const std::string encodedKey = codePage_.fromUtf8(trim(key));

  if (const std::optional<std::size_t> index = findKey(encodedSection, encodedKey)) {
    std::string& text = lines_[*index].text;
    text.resize(parseLine(text).valueStart);
    text += value;
    return;
  }

  Line keyLine{encodedKey + "=" + value, newline_};
  if (const std::optional<std::size_t> header = findSection(encodedSection)) {
    std::size_t last = *header;
    for (std::size_t i = *header + 1; i < lines_.size(); ++i) {
      if (parseLine(lines_[i].text).kind == LineKind::Section) {
        break;
      }
      if (!isBlankLine(lines_[i].text)) {
        last = i;
      }
    }
    if (lines_[last].ending.empty()) {
      lines_[last].ending = newline_;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last + 1), std::move(keyLine));
    index_.reset();
    return;
  }

  if (!lines_.empty() && lines_.back().ending.empty()) {
    lines_.back().ending = newline_;
  }
  lines_.push_back(Line{"[" + encodedSection + "]", newline_});
  lines_.push_back(std::move(keyLine));
  index_.reset();
}

std::string IniFile::text() const {
  std::string out;
  if (byteOrderMark_) {
    out += kUtf8ByteOrderMark;
  }
  for (const Line& line : lines_) {
    out += line.text;
    out += line.ending;
  }
  return out;
}

std::optional<files::FileError> IniFile::save() const {
  if (unread_) {
    return unread_;
  }
  return files::writeFileSafely(path_, text());
}

}  // namespace korvane::settings
