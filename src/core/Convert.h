#pragma once
// Number conversions with the program's classic semantics: Val reads a
// leading number and gives 0 for none; CInt/CLng accept any numeric text,
// round half to even and raise Type mismatch (13) or Overflow (6).
#include <string>

namespace zr {

double vbVal(const std::string& text);
int vbCInt(const std::string& text);   // 16-bit range
long vbCLng(const std::string& text);  // 32-bit range
// True when `text` is exactly `count` decimal digits.
bool allDigits(const std::string& text, std::size_t count);
std::string trim(const std::string& text);

}  // namespace zr
