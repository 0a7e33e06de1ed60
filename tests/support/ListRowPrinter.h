#pragma once
// Readable list rows in test failures.
#include <ostream>

#include "lists/ListLine.h"

namespace zr {

inline void PrintTo(const ListRow& row, std::ostream* out) {
  *out << "{\"" << row.freq << "\", \"" << row.mode << "\", \"" << row.note << "\"}";
}

}  // namespace zr
