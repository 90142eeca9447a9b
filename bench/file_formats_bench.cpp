// The work a mode switch and an Apply do on files: every mode switch rereads
// five data files (64 keys each) and a settings file; Apply compiles the
// macro library. Both run on the window's thread, so they must stay far below
// what a user would notice.
#include <benchmark/benchmark.h>

#include <string>

#include "macros/compiler.h"
#include "macros/line_cipher.h"
#include "settings/code_page.h"
#include "settings/ini_file.h"

namespace {

std::string dataFileText() {
  std::string text = "[Mode1_data]\r\n";
  for (int i = 0; i < 64; ++i) {
    text += "Data" + std::to_string(i) + "=" + std::to_string(i * 3 % 256) + "\r\n";
  }
  return text;
}

void ReadDataFile(benchmark::State& state) {
  const std::string text = dataFileText();
  const korvane::settings::CodePage codePage;
  for (auto _ : state) {
    const auto file = korvane::settings::IniFile::fromBytes(text, codePage);
    int sum = 0;
    for (int i = 0; i < 64; ++i) {
      sum += file.readInt("Mode1_data", "Data" + std::to_string(i), 0);
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(ReadDataFile);

// The same 64 keys behind the most blank lines a file may hold: each lookup
// must cost the same as in the small file.
void ReadDataFileBehindBlankLines(benchmark::State& state) {
  const std::string text = std::string((1 << 20) - 1024, '\n') + dataFileText();
  const korvane::settings::CodePage codePage;
  const auto file = korvane::settings::IniFile::fromBytes(text, codePage);
  for (auto _ : state) {
    int sum = 0;
    for (int i = 0; i < 64; ++i) {
      sum += file.readInt("Mode1_data", "Data" + std::to_string(i), 0);
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(ReadDataFileBehindBlankLines);

void CompileFullMacro(benchmark::State& state) {
  korvane::macros::MacroScript script = {"1"};
  for (int i = 0; i < 18; ++i) {
    script.insert(script.end(), {"0 50", "1 Left Key  CODE:0071", "0 50", "2 Left Key  CODE:0071"});
  }
  const korvane::macros::RepeatOption repeat;
  for (auto _ : state) {
    auto packed = korvane::macros::compileMacroScript(script, 0, repeat);
    benchmark::DoNotOptimize(packed);
  }
}
BENCHMARK(CompileFullMacro);

// A 340 KB macro file of the longest pauses a line may hold: the meter compiles
// it on every selection, so the work must stop growing once the block is full.
void CompileLongestPauses(benchmark::State& state) {
  korvane::macros::MacroScript script = {"1", "1 A CODE:0004"};
  script.insert(script.end(), 10000, "0 2147483647");
  for (auto _ : state) {
    auto usage = korvane::macros::measureMacroScript(script);
    benchmark::DoNotOptimize(usage);
  }
}
BENCHMARK(CompileLongestPauses)->Unit(benchmark::kMillisecond);

void EncryptLine(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(korvane::macros::EncryptLine("1 Left Key  CODE:0071"));
  }
}
BENCHMARK(EncryptLine);

}  // namespace
