#include "app/device_messages.h"

#include <array>
#include <cstdio>
#include <vector>

#include "app/message_texts.h"
#include "device/apply.h"
#include "device/device_session.h"

namespace korvane::app {

namespace {

using i18n::Message;

// "a, b and c" by the language's own joiners.
std::string joinList(const AppState& state, const std::vector<std::string>& items) {
  if (items.empty()) {
    return {};
  }
  std::string text = items.front();
  for (std::size_t i = 1; i < items.size(); ++i) {
    const Message joiner = i + 1 == items.size() ? Message::ListLast : Message::ListNext;
    text = LoadMessageText(state, joiner, {text, items[i]});
  }
  return text;
}

std::string hexByte(int value) {
  std::array<char, 4> text{};
  std::snprintf(text.data(), text.size(), "%02X", static_cast<unsigned>(value) & 0xFFU);
  return text.data();
}

}  // namespace

std::string UnwrittenList(const AppState& state, const device::UnwrittenWrites& unwritten) {
  std::vector<std::string> items;
  for (const int mode : unwritten.modes) {
    items.push_back(LoadMessageText(state, Message::UnwrittenMode, {std::to_string(mode)}));
  }
  // The library numbers macros from 1: block k is macro k + 1.
  const int first = unwritten.firstMacro;
  if (first <= 0) {
    items.push_back(LoadMessageText(state, Message::UnwrittenAllMacros));
  } else if (first == device::kMacroCount - 1) {
    items.push_back(
        LoadMessageText(state, Message::UnwrittenLastMacro, {std::to_string(first + 1)}));
  } else if (first < device::kMacroCount) {
    items.push_back(
        LoadMessageText(state, Message::UnwrittenMacrosFrom,
                        {std::to_string(first + 1), std::to_string(device::kMacroCount)}));
  }
  if (unwritten.pointerSettings) {
    items.push_back(LoadMessageText(state, Message::UnwrittenPointerSettings));
  }
  return joinList(state, items);
}

std::string NotWrittenMessage(const AppState& state, const device::UnwrittenWrites& unwritten) {
  return LoadMessageText(state, Message::NotWrittenDisconnected, {UnwrittenList(state, unwritten)});
}

std::string applyFailureText(const AppState& state, const device::ApplyFailure& failure) {
  const std::string number = std::to_string(failure.number);
  std::string failed;
  switch (failure.kind) {
    case device::ApplyFailure::Kind::ModeWrite:
      failed = LoadMessageText(state, Message::WriteFailedMode, {number});
      break;
    case device::ApplyFailure::Kind::MacroWrite:
      failed = LoadMessageText(state, Message::WriteFailedMacro, {number});
      break;
    case device::ApplyFailure::Kind::FirmwareRead:
      failed = LoadMessageText(state, Message::FirmwareReadFailed);
      break;
  }
  // The refused write is one of many the user chose: say which did not go.
  const std::string list = UnwrittenList(state, failure.unwritten);
  if (list.empty()) {
    return failed;
  }
  return LoadMessageText(state, Message::FailedAndNotWritten, {failed, list});
}

std::string NotConnectedMessage(const AppState& state, const device::ProtocolMismatch& mismatch) {
  using Kind = device::ProtocolMismatch::Kind;
  const std::string actual = std::to_string(mismatch.actual);
  const std::string expected = std::to_string(mismatch.expected);
  std::string reason;
  switch (mismatch.kind) {
    case Kind::NoFeatureReport:
      reason = LoadMessageText(state, Message::DeviceNoFeatureReport);
      break;
    case Kind::FeatureReportTooShort:
      reason = LoadMessageText(state, Message::DeviceFeatureReportTooShort, {actual, expected});
      break;
    case Kind::NoDataOutputReport:
      reason = LoadMessageText(state, Message::DeviceOutputReportLength, {actual, expected});
      break;
    case Kind::VersionReplyWrongCommand:
      reason = LoadMessageText(state, Message::DeviceVersionReplyWrongCommand,
                               {hexByte(mismatch.actual), hexByte(mismatch.expected)});
      break;
    case Kind::VersionReplyTooShort:
      reason = LoadMessageText(state, Message::DeviceVersionReplyTooShort, {actual, expected});
      break;
  }
  return LoadMessageText(state, Message::DeviceNotConnected, {reason});
}

}  // namespace korvane::app
