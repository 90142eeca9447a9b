#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// The keys of the language files and what each one sets. One table for the
// main window, one for the four small dialogs; the loaders, the check of the
// shipped language files and the tests all read these.
namespace korvane::i18n {

// What a key of the main window's catalogue sets.
enum class TextTarget : std::uint8_t {
  Caption,       // the caption of a label (tabs, buttons, headings, commands)
  CheckBoxText,  // the text of a hidden check box: kept, never shown
  MenuItem,      // the caption of a menu item
  Toggle,        // not a text: a number read as a Boolean for a check-mark toggle
  // The caption of a label that the original language files have no key
  // for: a file without the key keeps the built-in text, and the blanks the
  // built-in text starts with (room for a tick) stay in front.
  AddedCaption,
  // Stands for the function menu's ten rows and its entries, whose keys and
  // labels the function catalogue holds (KM1..KM10, then KBK1..KOT4).
  FunctionMenu,
};

struct TextRow {
  std::string_view key;
  std::string_view control;
  TextTarget target = TextTarget::Caption;
};

namespace detail {
constexpr TextRow toggle(std::string_view key, std::string_view control) {
  return {key, control, TextTarget::Toggle};
}
constexpr TextRow checkBox(std::string_view key, std::string_view control) {
  return {key, control, TextTarget::CheckBoxText};
}
constexpr TextRow added(std::string_view key, std::string_view control) {
  return {key, control, TextTarget::AddedCaption};
}
}  // namespace detail

// The main window's keys in the order they are read. The function menu's
// rows and entries come in at the FunctionMenu row.
// clang-format off
inline constexpr auto kMainTexts = std::to_array<TextRow>({
    {"T2", "lbl_title1"}, {"T3", "lbl_title2"}, {"T4", "lbl_title3"}, {"T5", "lbl_title4"},
    {"T6", "lbl_title5"},
    {"K1", "Key1"}, {"K2", "Key2"}, {"K3", "Key3"}, {"K4", "Key4"}, {"K5", "Key5"},
    {"K6", "Key6"}, {"K7", "Key7"}, {"K8", "Key8"}, {"K9", "Key9"}, {"K10", "Key10"},
    {"K11", "Key11"}, {"K12", "Key12"},
    {"", "gbMenu", TextTarget::FunctionMenu},
    {"MS1", "lbl_msespeed"}, detail::checkBox("MS2", "cb_msespeed"),
    detail::toggle("Mse1", "lbl_mse1"), detail::added("MS3", "lbl_mse1"),
    {"MWS1", "lbl_msewheel"}, detail::checkBox("MWS2", "cb_msewheel"),
    detail::toggle("Mse2", "lbl_mse2"), detail::added("MWS3", "lbl_mse2"),
    detail::added("MWX", "lbl_msewheel_X"),
    {"MDS", "lbl_msedbspeed"},
    {"XY", "lbl_XY"}, detail::added("XY2", "lbl_XY_1"),
    {"RR", "lbl_report"}, {"RRV1", "lbl_125hz"}, {"RRV2", "lbl_250hz"}, {"RRV3", "lbl_500hz"},
    {"RRV4", "lbl_1000hz"},
    {"DPI", "lbl_dpi"}, {"DPI1", "lbl_level1"}, {"DPI2", "lbl_level2"}, {"DPI3", "lbl_level3"},
    {"DPI4", "lbl_level4"},
    {"SD", "lbl_sensordegree"}, {"SD1", "lbl_sensordegree1"}, {"SD2", "lbl_sensordegree2"},
    {"SD3", "lbl_sensordegree3"}, {"SD4", "lbl_sensordegree4"},
    {"Macro1", "lbl_macro"}, {"Macro2", "lbl_name"}, {"Macro3", "lbl_configure"},
    {"Macro4", "lbl_new"}, {"Macro5", "lbl_REC"}, {"Macro6", "lbl_save"},
    {"Macro7", "lbl_delete"}, {"Macro8", "lbl_delay"}, {"Macro9", "lbl_list"},
    {"Macro11", "lbl_MseLeft"}, {"Macro12", "lbl_MseRight"}, {"Macro13", "lbl_MseMid"},
    {"Macro19", "lbl_delkey"}, {"Macro14", "lbl_delay_d"}, {"Macro15", "lbl_cycle_max"},
    {"Macro16", "lbl_cycle"}, {"Macro17", "lbl_load"}, {"Macro18", "lbl_cancle"},
    detail::added("Macro20", "lbl_Time"),
    {"Swt1", "lbl_LEDSwitch"}, {"Swt2", "lbl_LEDOpen"}, {"Swt3", "lbl_LEDClose"},
    {"Bre1", "lbl_LEDBre"}, {"Bre2", "lbl_LEDBre1"}, {"Bre3", "lbl_LEDBre2"},
    {"Bre4", "lbl_LEDBre3"}, {"Bre5", "lbl_LEDBre4"}, {"Bre6", "lbl_LEDBre5"},
    {"Bre7", "lbl_LEDBre6"}, detail::added("Fre1", "lbl_LEDFreq"),
    {"Col1", "lbl_LEDcolor"}, {"Col2", "lbl_LEDcolor1"}, {"Col3", "lbl_LEDcolor2"},
    {"Col4", "lbl_LEDcolor3"}, {"Col5", "lbl_LEDcolor4"}, {"Col6", "lbl_LEDcolor5"},
    {"Col7", "lbl_LEDcolor6"}, {"Col8", "lbl_LEDcolor7"}, {"Col9", "lbl_LEDcolor8"},
    {"Mot1", "lbl_Motor"}, {"Mot2", "lbl_Motor1"}, {"Mot3", "lbl_Motor2"},
    {"Mot4", "lbl_Motor3"}, {"Mot5", "lbl_Motor4"},
    {"Ver", "lbl_version"},
    {"Mode1", "MouseMode"}, {"Mode2", "Win8Mode"}, {"Mode3", "GameMode"},
    {"Mode4", "MediaMode"}, {"Mode5", "OfficeMode"},
    {"MenuConf", "SaveConf"}, {"MenuName", "MenuName", TextTarget::MenuItem},
    {"Default", "DefaultSetting"}, {"Exit", "Btn_Exit"}, {"Apply", "Apply"},
});
// clang-format on

// The recording toggle's texts: its start text is lbl_REC's caption, its stop
// text is read only by the toggle itself. The built-in texts serve when no
// language file applies.
inline constexpr std::string_view kStartRecordingKey = "Macro5";
inline constexpr std::string_view kStopRecordingKey = "Macro10";
inline constexpr std::string_view kStartRecordingText = "开始录制";
inline constexpr std::string_view kStopRecordingText = "停止录制";

// One text of a dialog: its key and the text the dialog shows without a
// language file.
struct DialogText {
  std::string_view key;
  std::string_view builtIn;
};

// The texts of one small dialog. The OK and Cancel keys of the macro
// selection dialog serve every dialog but the mode-name one.
struct DialogTextRow {
  std::string_view form;
  DialogText title;
  DialogText ok;
  std::optional<DialogText> cancel;  // the left-key warning has none
};

inline constexpr DialogText kSharedOk{"Form2_O", "OK"};
inline constexpr DialogText kSharedCancel{"Form2_C", "Cancel"};

inline constexpr std::array<DialogTextRow, 4> kDialogTexts = {{
    {"TForm2", {"Form2_T", "Macro Select"}, kSharedOk, kSharedCancel},
    {"TForm3",
     {"Form3_T", "Configure New Name"},
     {"Form3_O", "OK"},
     DialogText{"Form3_C", "Cancel"}},
    {"TForm5", {"Form5_T", "Please Keep One 'Left Key'!"}, kSharedOk, std::nullopt},
    {"TForm6", {"Form6_T", "Macro Name"}, kSharedOk, kSharedCancel},
}};

// The dialog row of a form ("TForm2" ..); nullptr for any other name.
const DialogTextRow* findDialogTexts(std::string_view form);

}  // namespace korvane::i18n
