#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "i18n/messages.h"

namespace korvane::files {
struct FileError;
}
namespace korvane::macros {
struct CompileError;
}
namespace korvane::device {
struct ApplyFailure;
}

namespace korvane::app {

struct AppState;

// A message in the language of the locale, read from that language's file
// each time it is shown, as the dialogs read theirs; the built-in text when
// no language file applies or the file has no text for it.
std::string LoadMessageText(const AppState& state, i18n::Message message,
                            std::initializer_list<std::string_view> args = {});

// The POSIX locale of the user's language ("zh_CN", "zh_TW", "en_US"), for
// the toolkit's own texts; empty when the locale is none of the three.
std::string UserLanguageLocale();

// What the lower layers report as data, in the user's language.
std::string fileErrorText(const AppState& state, const files::FileError& error);
// Nothing when nothing failed.
std::optional<std::string> fileErrorText(const AppState& state,
                                         const std::optional<files::FileError>& error);
std::string compileErrorText(const AppState& state, const macros::CompileError& error);
std::string applyFailureText(const AppState& state, const device::ApplyFailure& failure);

}  // namespace korvane::app
