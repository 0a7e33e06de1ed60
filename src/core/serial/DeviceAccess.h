#pragma once
// What an operator refused a serial device needs to know: who may open it
// and how to become one of them.
#include <filesystem>
#include <string>

namespace zr {

// For a device this user may not open: the group that owns it and the
// command that joins it ("... belongs to group 'dialout': join it with
// sudo usermod -aG dialout $USER, then log in again"), or that only its
// owner may open it. Empty when the device cannot be examined.
std::string accessHint(const std::filesystem::path& device);

}  // namespace zr
