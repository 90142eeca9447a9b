#include "i18n/text_catalogue.h"

#include <algorithm>

namespace korvane::i18n {

namespace {

constexpr bool keysAreUnique() {
  for (std::size_t i = 0; i < kMainTexts.size(); ++i) {
    for (std::size_t j = i + 1; j < kMainTexts.size(); ++j) {
      if (!kMainTexts[i].key.empty() && kMainTexts[i].key == kMainTexts[j].key) return false;
      // A toggle's number and its caption are two things of one control.
      const bool sameKind = (kMainTexts[i].target == TextTarget::Toggle) ==
                            (kMainTexts[j].target == TextTarget::Toggle);
      if (sameKind && kMainTexts[i].control == kMainTexts[j].control) return false;
    }
  }
  return true;
}
static_assert(keysAreUnique(), "each key and each text of a control appears once");

}  // namespace

const DialogTextRow* findDialogTexts(std::string_view form) {
  const auto* it = std::ranges::find(kDialogTexts, form, &DialogTextRow::form);
  return it == kDialogTexts.end() ? nullptr : it;
}

}  // namespace korvane::i18n
