#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "i18n/messages.h"

namespace korvane::app {

struct AppState;

// A message in the language of the locale, read from that language's file
// each time it is shown, as the dialogs read theirs; the built-in text when
// no language file applies or the file has no text for it.
std::string LoadMessageText(const AppState& state, i18n::Message message,
                            std::initializer_list<std::string_view> args = {});

}  // namespace korvane::app
