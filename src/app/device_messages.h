#pragma once

#include <string>

namespace korvane::device {
struct ProtocolMismatch;
struct UnwrittenWrites;
}  // namespace korvane::device

namespace korvane::app {

struct AppState;

// "mode 4, mode 5, the macros and the pointer settings were not written: the
// mouse was disconnected.", in the language of the locale.
std::string NotWrittenMessage(const AppState& state, const device::UnwrittenWrites& unwritten);

// "mode 4, mode 5, the macros and the pointer settings": the writes an Apply
// left undone, in the language of the locale; empty when there are none.
std::string UnwrittenList(const AppState& state, const device::UnwrittenWrites& unwritten);

// "The mouse was found but not connected: <why>", in the language of the
// locale.
std::string NotConnectedMessage(const AppState& state, const device::ProtocolMismatch& mismatch);

}  // namespace korvane::app
