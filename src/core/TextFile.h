#pragma once
// Reading the small text files the panel keeps beside it (settings, band
// lists, scan lists, channel files). Whatever sits under such a name, a
// directory, a device or a pipe, a file of gigabytes, is refused with a
// reason instead of being read to exhaustion or blocking the engine.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/Errors.h"

namespace zr {

inline constexpr std::size_t kSmallFileLimit = 64 * 1024;

// The whole file as bytes. Throws RuntimeError (53 for a missing file, 75
// with the reason for one that is not a regular file or is larger than
// `maxBytes`, the system's text for other failures).
std::string readTextFile(const std::string& path, std::size_t maxBytes = kSmallFileLimit);

// Lines ended by CR, LF or CR LF; a last line without an end counts, an end
// after the last line adds no empty one. At most `maxLines` are returned.
std::vector<std::string> splitLines(std::string_view text, std::size_t maxLines = static_cast<std::size_t>(-1));

// Each line followed by CR LF.
std::string joinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace zr
