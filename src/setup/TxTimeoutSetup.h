#pragma once
// The transmit time-out's own settings file, "TxTimeout.txt" in the working
// directory, in the panel's file style: line 1 the seconds a transmission may
// last without a break (0 = no limit), then notes for a human.
#include <string>

namespace zr {

inline constexpr const char* kTxTimeoutFile = "TxTimeout.txt";
inline constexpr int kTxTimeoutDefault = 600;
// An hour keyed without a break is no transmission an operator means; the
// bound also keeps the count clear of the time of day's midnight wrap.
inline constexpr int kTxTimeoutMax = 3600;

// Whole seconds 0..kTxTimeoutMax as typed; -1 for anything else.
int parseTxTimeout(const std::string& text);

// The seconds in the file; a missing file gives the default. A file that
// cannot be read or holds no valid number gives the default too and says
// why in `problem`.
int readTxTimeoutSetup(std::string& problem, const std::string& path = kTxTimeoutFile);

// Replaces the file atomically; throws RuntimeError as the other writers do.
void writeTxTimeoutSetup(int seconds, const std::string& path = kTxTimeoutFile);

// A limit as the operator reads it: whole minutes as "10 min", anything
// else in seconds ("90 s"); 0 is "off".
std::string describeTxTimeout(int seconds);

}  // namespace zr
