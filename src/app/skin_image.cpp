#include "app/skin_image.h"

#include "app/app_state.h"

namespace korvane::app {

namespace {

int digit(SkinState state) { return static_cast<int>(state); }

int selectedDigit(SkinKind kind) {
  return kind == SkinKind::ChoiceWithoutHover ? digit(SkinState::Hover)
                                              : digit(SkinState::Selected);
}

}  // namespace

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
