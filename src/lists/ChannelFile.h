#pragma once
// The channel file and the channel record, as pure text functions.
//
// A channel record is ten characters: channel "00".."99", seven frequency
// digits in 10 Hz units, mode digit 1 USB, 2 LSB, 3 AME, 4 CW
// ("0507074002"). A channel file holds one channel a line, written as
// "05,07074.00,LSB" with CR LF ends; on reading, a line with a comma is
// split at its first two commas, any other at its first two blanks.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zr {

// Ten characters: two digits, seven digits, a mode digit 1-4.
bool isChannelRecord(std::string_view record);

// The record a file line stands for, or nothing when the line is skipped.
std::optional<std::string> parseChannelLine(std::string_view line);

struct ChannelFileContents {
  std::vector<std::string> records;  // in file order, duplicates kept
  std::vector<int> skippedLines;     // 1-based numbers of non-empty lines not taken
};

// Lines may end in CR, LF or CR LF; empty lines are neither taken nor skipped.
ChannelFileContents parseChannelFile(std::string_view text);

// "05,07074.00,LSB" for a channel record; nothing for anything else.
std::optional<std::string> formatChannelLine(std::string_view record);

// The file for `records`, each line ended by CR LF. Entries that are not
// channel records are left out.
std::string formatChannelFile(const std::vector<std::string>& records);

// "07074.00 LSB": a record's frequency in kHz and its mode, for messages.
std::string describeChannelRecord(std::string_view record);

}  // namespace zr
