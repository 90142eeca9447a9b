// The texts of the main window and of the four small dialogs, from the
// language file of the locale.
#include <algorithm>
#include <charconv>
#include <optional>

#include "app/app_state.h"
#include "app/dialog_skin.h"
#include "app/host.h"
#include "app/main_window_model.h"
#include "app/message_texts.h"
#include "buttons/function_catalogue.h"
#include "files/file_io.h"
#include "i18n/language.h"
#include "macros/compiler.h"
#include "settings/ini_file.h"

namespace korvane::app {

namespace {

using i18n::TextRow;
using i18n::TextTarget;

// "KBK3" -> 3, "KW85" -> 85: a key's place within its group.
int keyNumber(std::string_view key) {
  const std::size_t digits = std::min(key.find_first_of("0123456789"), key.size());
  int number = 0;
  std::from_chars(key.data() + digits, key.data() + key.size(), number);
  return number;
}

// The ten menu rows, then each panel's entries in key order (a panel lists
// them in its own order). Rows 9 and 10 are entries too, read once as rows.
void appendFunctionMenu(std::vector<TextRow>& rows) {
  for (const buttons::MenuRowInfo& row : buttons::kMenuRows) {
    rows.push_back({row.textKey, row.control});
  }
  for (const buttons::MenuRowInfo& row : buttons::kMenuRows) {
    if (row.panel.empty()) {
      continue;
    }
    std::vector<TextRow> panel;
    for (const buttons::FunctionEntry& entry : buttons::entriesOf(row.row)) {
      panel.push_back({entry.textKey, entry.control});
    }
    std::ranges::stable_sort(panel, {}, [](const TextRow& r) { return keyNumber(r.key); });
    rows.insert(rows.end(), panel.begin(), panel.end());
  }
}

// The pointer page's check-mark toggles that a language file switches.
struct PointerToggle {
  std::string_view control;
  bool PointerPage::*flag;
  void (PointerPage::*click)();
};
constexpr std::array<PointerToggle, 2> kPointerToggles = {{
    {"lbl_mse1", &PointerPage::mse1Flag, &PointerPage::lbl_mse1Click},
    {"lbl_mse2", &PointerPage::mse2Flag, &PointerPage::lbl_mse2Click},
}};

// Preset to the opposite, then clicked: flag, tick and hidden check box end
// equal to the value, and the click writes the pointer setting at once.
void setToggle(PointerPage& page, std::string_view control, bool value) {
  for (const PointerToggle& toggle : kPointerToggles) {
    if (toggle.control == control) {
      page.*toggle.flag = !value;
      (page.*toggle.click)();
    }
  }
}

// Rows whose texts name a button's function or a mode, as the settings files
// keep them: K1..K12 and the function menu's keys (KM.., KBK.., KOF.. ..),
// and Mode1..Mode5.
bool namesAFunctionOrMode(const TextRow& row) {
  return row.target == TextTarget::Caption &&
         (row.key.starts_with('K') || row.key.starts_with("Mode"));
}

std::string_view formOf(DialogKind dialog) {
  switch (dialog) {
    case DialogKind::MacroSelect:
      return "TForm2";
    case DialogKind::ModeName:
      return "TForm3";
    case DialogKind::LeftKeyWarning:
      return "TForm5";
    case DialogKind::MacroName:
      return "TForm6";
  }
  return {};
}

const i18n::DialogTextRow& dialogRow(DialogKind dialog) {
  const i18n::DialogTextRow* row = i18n::findDialogTexts(formOf(dialog));
  return row != nullptr ? *row : i18n::kDialogTexts.front();
}

}  // namespace

const std::vector<TextRow>& MainWindowModel::textCatalogue() {
  static const std::vector<TextRow> catalogue = [] {
    std::vector<TextRow> rows;
    for (const TextRow& row : i18n::kMainTexts) {
      if (row.target == TextTarget::FunctionMenu) {
        appendFunctionMenu(rows);
      } else {
        rows.push_back(row);
      }
    }
    return rows;
  }();
  return catalogue;
}

std::string* MainWindowModel::textOf(const TextRow& row) {
  const std::string name(row.control);
  switch (row.target) {
    case TextTarget::Caption:
    case TextTarget::AddedCaption:
      // Every control a key captions is a label.
      if (Label* label = find<Label>(name)) {
        return &label->caption;
      }
      return nullptr;
    case TextTarget::CheckBoxText:
      return find(name) != nullptr ? &checkBoxTexts_[name] : nullptr;
    case TextTarget::MenuItem:
      return name == "MenuName" ? &MenuName.caption : nullptr;
    case TextTarget::Toggle:
    case TextTarget::FunctionMenu:
      break;
  }
  return nullptr;
}

std::optional<std::string> MainWindowModel::checkBoxText(std::string_view name) const {
  if (const auto it = checkBoxTexts_.find(name); it != checkBoxTexts_.end()) {
    return it->second;
  }
  return std::nullopt;
}

void MainWindowModel::LoadMainTexts() {
  const std::optional<i18n::LanguageFile> file =
      i18n::languageFile(state_.LanguageDir, languageCode_);
  if (!file || !files::isRegularFile(file->path)) {
    // The built-in texts stay; a locale of none of the three says nothing.
    if (const std::optional<std::string> message =
            i18n::missingLanguageFileMessage(languageCode_)) {
      host_.messageBox(*message);
    }
    return;
  }
  // A key the file lacks blanks its control: the file replaces the built-in
  // texts as a whole.
  const settings::IniFile texts = settings::IniFile::load(file->path, codePage_);
  if (texts.tooLarge()) {
    // Refused unread: the built-in texts stay, as for a missing file.
    reportTooLarge(file->path);
    return;
  }
  for (const TextRow& row : textCatalogue()) {
    if (row.target == TextTarget::Toggle) {
      setToggle(pointer, row.control, texts.readBool(file->section, row.key));
    } else if (row.target == TextTarget::AddedCaption) {
      if (std::string* text = textOf(row);
          text != nullptr && texts.hasKey(file->section, row.key)) {
        // The profile format drops leading blanks; the built-in ones stay.
        const std::size_t blanks = std::min(text->find_first_not_of(' '), text->size());
        *text = text->substr(0, blanks) + texts.readString(file->section, row.key);
      }
    } else if (std::string* text = textOf(row)) {
      std::string builtIn = std::move(*text);
      *text = texts.readString(file->section, row.key);
      // The first row wins: a button's own name (K1..K12) before a function
      // entry of the same built-in text.
      if (namesAFunctionOrMode(row) && !text->empty()) {
        nameTexts_.emplace(std::move(builtIn), *text);
      }
    }
  }
}

void MainWindowModel::LearnFunctionNames() {
  // Each language file's words for the functions and the buttons, and the
  // built-in ones; the files are read as LoadMainTexts reads the user's.
  std::vector<std::pair<settings::IniFile, std::string>> languages;
  for (const std::string_view code : {"CHS", "CHT", "ENU"}) {
    const std::optional<i18n::LanguageFile> file = i18n::languageFile(state_.LanguageDir, code);
    if (file && files::isRegularFile(file->path) && !files::isTooLargeToRead(file->path)) {
      languages.emplace_back(
          settings::IniFile::load(file->path, settings::CodePage::forLanguage(code)),
          file->section);
    }
  }
  const auto learn = [&](std::string_view builtIn, std::string_view key, buttons::KeyAction action,
                         int button, const std::string& shown) {
    functionNames_.add(builtIn, action, button, shown);
    for (const auto& [ini, section] : languages) {
      functionNames_.add(ini.readString(section, key), action, button, shown);
    }
  };
  for (const buttons::FunctionEntry& entry : buttons::kFunctionCatalogue) {
    // A macro button shows the macro's own name.
    if (entry.opensMacroDialog) {
      continue;
    }
    if (const Label* label = find<Label>(std::string(entry.control))) {
      learn(entry.builtInName, entry.textKey, entry.action, 0, label->caption);
    }
  }
  // The buttons' default names, with the functions the factory gives them.
  for (int button = 1; button <= settings::kButtonCount; ++button) {
    const auto index = static_cast<std::size_t>(button - 1);
    learn(KeysPage::builtInCaption(button), "K" + std::to_string(button),
          buttons::readKeyAction(settings::kFactoryBlock, button), button,
          keys.Key.at(index).caption);
  }
}

DialogTexts BuiltInDialogTexts(DialogKind dialog) {
  const i18n::DialogTextRow& row = dialogRow(dialog);
  DialogTexts texts{std::string(row.title.builtIn), std::string(row.ok.builtIn), std::nullopt};
  if (row.cancel) {
    texts.cancel = std::string(row.cancel->builtIn);
  }
  return texts;
}

namespace {

// The language file of the locale with its section; nothing when no file
// applies. Dialogs and messages choose the language again each time they are
// shown; the locale does not change while the tool runs.
struct OpenLanguageFile {
  settings::IniFile ini;
  std::string section;
};

std::optional<OpenLanguageFile> openLanguageFile(const AppState& state) {
  const std::string code = i18n::languageCodeFromEnvironment();
  const std::optional<i18n::LanguageFile> file = i18n::languageFile(state.LanguageDir, code);
  if (!file || !files::isRegularFile(file->path) || files::isTooLargeToRead(file->path)) {
    return std::nullopt;
  }
  return OpenLanguageFile{
      settings::IniFile::load(file->path, settings::CodePage::forLanguage(code)), file->section};
}

}  // namespace

DialogTexts LoadDialogTexts(const AppState& state, DialogKind dialog) {
  DialogTexts texts = BuiltInDialogTexts(dialog);
  const std::optional<OpenLanguageFile> file = openLanguageFile(state);
  if (!file) {
    return texts;
  }
  const i18n::DialogTextRow& row = dialogRow(dialog);
  texts.title = file->ini.readString(file->section, row.title.key);
  texts.ok = file->ini.readString(file->section, row.ok.key);
  if (row.cancel) {
    texts.cancel = file->ini.readString(file->section, row.cancel->key);
  }
  return texts;
}

std::string LoadMessageText(const AppState& state, i18n::Message message,
                            std::initializer_list<std::string_view> args) {
  const i18n::MessageRow& row = i18n::messageRow(message);
  std::string text;
  if (const std::optional<OpenLanguageFile> file = openLanguageFile(state)) {
    text = file->ini.readString(file->section, row.key);
  }
  // A message box without words helps no one: an empty or missing text
  // falls back to the built-in one.
  if (text.empty()) {
    text = std::string(row.builtIn);
  }
  return i18n::fillMessage(text, args);
}

std::string UserLanguageLocale() {
  return i18n::localeNameOfLanguage(i18n::languageCodeFromEnvironment());
}

std::string fileErrorText(const AppState& state, const files::FileError& error) {
  i18n::Message message = i18n::Message::UnableToRead;
  switch (error.failure) {
    case files::FileFailure::KeptTooLarge:
      return LoadMessageText(state, i18n::Message::KeptTooLarge,
                             {error.path.string(), files::kMaxFileSizeText});
    case files::FileFailure::KeptUnreadable:
      message = i18n::Message::KeptUnreadable;
      break;
    case files::FileFailure::KeptNotOurs:
      return LoadMessageText(state, i18n::Message::KeptNotOurs,
                             {error.path.string(), error.reason});
    case files::FileFailure::KeptUndecipherable:
      message = i18n::Message::KeptUndecipherable;
      break;
    case files::FileFailure::Read:
      break;
    case files::FileFailure::Write:
      message = i18n::Message::UnableToWrite;
      break;
    case files::FileFailure::List:
      message = i18n::Message::UnableToList;
      break;
    case files::FileFailure::Delete:
      message = i18n::Message::UnableToDelete;
      break;
    case files::FileFailure::WrongType:
      message = i18n::Message::NotMacroFile;
      break;
  }
  if (message == i18n::Message::UnableToWrite && !error.reason.empty()) {
    return LoadMessageText(state, i18n::Message::WriteRefused, {error.path.string(), error.reason});
  }
  std::string text = LoadMessageText(state, message, {error.path.string()});
  // The system's own explanation goes on a line of its own.
  if (!error.reason.empty()) {
    text += "\n" + error.reason;
  }
  return text;
}

std::optional<std::string> fileErrorText(const AppState& state,
                                         const std::optional<files::FileError>& error) {
  if (!error) {
    return std::nullopt;
  }
  return fileErrorText(state, *error);
}

std::string compileErrorText(const AppState& state, const macros::CompileError& error) {
  switch (error.kind) {
    case macros::CompileError::Kind::Unreadable:
      return LoadMessageText(
          state, i18n::Message::MacroNotCompiled,
          {error.macroName, error.file ? fileErrorText(state, *error.file) : std::string()});
    case macros::CompileError::Kind::Script:
      return LoadMessageText(state, i18n::Message::MacroNotCompiled,
                             {error.macroName, error.detail});
    case macros::CompileError::Kind::TooLong:
      return LoadMessageText(state, i18n::Message::MacroTooLong,
                             {error.macroName, std::to_string(error.bytesNeeded),
                              std::to_string(macros::kMacroBlockSize)});
  }
  return {};
}

}  // namespace korvane::app
