// The INI reader and writer in every code page: any bytes load, and every
// lookup and write stays in bounds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/code_page.h"
#include "settings/ini_file.h"

namespace {

using korvane::settings::CodePage;
using korvane::settings::CodePageId;
using korvane::settings::IniFile;

constexpr CodePageId kCodePages[] = {CodePageId::Utf8, CodePageId::Gbk936, CodePageId::Big5_950,
                                     CodePageId::Windows1252};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const CodePage codePage(kCodePages[data[0] % 4]);
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  IniFile ini = IniFile::fromBytes(bytes, codePage);
  // Names taken from the input itself, so lookups hit real sections and keys.
  const std::size_t cut = bytes.size() / 3;
  const std::string section(bytes.substr(0, cut % 16));
  const std::string key(bytes.substr(cut, cut % 8));
  static_cast<void>(ini.readInt(section, key));
  static_cast<void>(ini.readBool(section, key));
  static_cast<void>(ini.readString(section, key));
  static_cast<void>(ini.hasSection(section));
  static_cast<void>(ini.readString("Mode1", "Key1"));

  ini.writeInt(section, "Speed", 7);
  ini.writeString(section, key, std::string(bytes.substr(0, 32)));
  static_cast<void>(ini.text());
  // The text written is a file that loads again.
  static_cast<void>(IniFile::fromBytes(ini.text(), codePage).readString(section, key));
  static_cast<void>(codePage.toUtf8(bytes));
  static_cast<void>(codePage.fromUtf8(bytes));
  return 0;
}
