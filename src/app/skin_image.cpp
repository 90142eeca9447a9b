#include "app/skin_image.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

#include "app/app_state.h"

namespace korvane::app {

namespace {

// A PNG starts with its 8-byte signature, then the IHDR chunk: length, type,
// width and height as big-endian 32-bit numbers.
constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1a\n";
constexpr std::size_t kWidthOffset = 16;
constexpr std::size_t kHeightOffset = 20;
constexpr std::size_t kHeaderLength = 24;

int bigEndian32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  }
  return static_cast<int>(value & 0x7FFFFFFF);
}

int digit(SkinState state) {
  return static_cast<int>(state);
}

int selectedDigit(SkinKind kind) {
  return kind == SkinKind::ChoiceWithoutHover ? digit(SkinState::Hover)
                                              : digit(SkinState::Selected);
}

}  // namespace

std::optional<Rect> pictureSize(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string header(kHeaderLength, '\0');
  if (!in.read(header.data(), static_cast<std::streamsize>(header.size())) ||
      header.compare(0, kPngSignature.size(), kPngSignature) != 0) {
    return std::nullopt;
  }
  return Rect{0, 0, bigEndian32(header, kWidthOffset), bigEndian32(header, kHeightOffset)};
}

void SkinImage::show(const AppState& state, int stateDigit) {
  load(state.skinFile(family + "_" + std::to_string(stateDigit)));
}

void SkinImage::enter(const AppState& state) {
  if (kind != SkinKind::ChoiceWithoutHover) {
    show(state, digit(SkinState::Hover));
  }
}

void SkinImage::leave(const AppState& state) {
  switch (kind) {
    case SkinKind::Choice:
      show(state, digit(isSelected && isSelected() ? SkinState::Selected : SkinState::Normal));
      break;
    case SkinKind::Command:
      show(state, digit(SkinState::Normal));
      break;
    case SkinKind::ChoiceWithoutHover:
      break;
  }
}

void SkinImage::press(const AppState& state, const std::function<void()>& command,
                      const std::function<void()>& settle) {
  show(state, digit(SkinState::Selected));
  if (command) {
    command();
  }
  if (settle) {
    settle();
  }
  show(state, digit(SkinState::Normal));
}

void selectInGroup(const AppState& state, const std::vector<SkinImage*>& group,
                   const SkinImage& chosen) {
  for (SkinImage* member : group) {
    member->show(state, digit(SkinState::Normal));
  }
  for (SkinImage* member : group) {
    if (member == &chosen) {
      member->show(state, selectedDigit(member->kind));
    }
  }
}

}  // namespace korvane::app
