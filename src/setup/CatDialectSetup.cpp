#include "setup/CatDialectSetup.h"

#include <filesystem>

#include "core/FileReplace.h"
#include "core/TextFile.h"

namespace zr {

bool readCatDialect(std::string& problem, const std::string& path) {
  problem.clear();
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return false;
  std::vector<std::string> lines;
  try {
    lines = splitLines(readTextFile(path), 1);
  } catch (const RuntimeError& e) {
    problem = path + ": " + e.description;
    return false;
  }
  const std::string line = lines.empty() ? std::string() : lines[0];
  if (line == "1") return true;
  if (line != "0") problem = path + ": line 1 is neither 1 (Kenwood dialect) nor 0 (FA and MD only): \"" + line.substr(0, 20) + "\"";
  return false;
}

void writeCatDialect(bool kenwood, const std::string& path) {
  replaceFile(path, joinLinesCrLf({
                        kenwood ? "1" : "0",
                        "Line 1: 1 = the CAT port speaks a full Kenwood (TS-2000) dialect, 0 = FA and MD only",
                    }));
}

}  // namespace zr
