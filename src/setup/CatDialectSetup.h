#pragma once
// Which dialect the CAT port speaks, in its own settings file
// "CATDialect.txt" beside "CATSetup.txt" (whose layout stays as it is):
// line 1 "1" for the full Kenwood-family dialect, "0" for FA and MD only,
// then notes for a human.
#include <string>

namespace zr {

inline constexpr const char* kCatDialectFile = "CATDialect.txt";

// True when the file switches the Kenwood dialect on; a missing file means
// off. A file that cannot be read, or whose line 1 is neither "0" nor "1",
// means off and says why in `problem`.
bool readCatDialect(std::string& problem, const std::string& path = kCatDialectFile);

// Replaces the file atomically; throws RuntimeError as the other writers do.
void writeCatDialect(bool kenwood, const std::string& path = kCatDialectFile);

}  // namespace zr
