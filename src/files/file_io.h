#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace korvane::files {

// A regular file (or a link to one) at that path; any error reads as "no".
bool isRegularFile(const std::filesystem::path& path);

// The whole content of a regular file; nothing when it is missing, not a
// regular file, or cannot be read.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

// Writes the whole file safely: a temporary file in the same folder, flushed,
// then renamed over the target, so a crash leaves the old file or the new one
// and never half of one. An existing target keeps its permissions. Returns
// nullopt on success, else "Unable to write to <path>"; no temporary file is
// left behind either way.
[[nodiscard]] std::optional<std::string> writeFileSafely(const std::filesystem::path& path,
                                                         std::string_view bytes);

}  // namespace korvane::files
