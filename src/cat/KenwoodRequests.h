#pragma once
// The Kenwood-family dialect the CAT port speaks when the operator switches
// it on: the requests of one receive, and the texts of their answers, as a
// TS-2000-class transceiver gives them. No state: KenwoodCat carries them out.
#include <string>
#include <string_view>
#include <vector>

namespace zr {

struct RigStateSnapshot;

struct KenwoodRequest {
  enum class Kind {
    Identity,        // ID;
    Information,     // IF;
    FreqAQuery,      // FA;
    FreqASet,        // FA + eleven digits (Hz)
    FreqBQuery,      // FB;
    FreqBSet,        // FB + eleven digits (Hz)
    ModeQuery,       // MD;
    ModeSet,         // MD + one digit
    RxVfoQuery,      // FR;
    RxVfoSet,        // FR + one digit
    TxVfoQuery,      // FT;
    TxVfoSet,        // FT + one digit
    KeyDown,         // TX; TX0; TX1; (microphone and data send alike)
    KeyUp,           // RX;
    AutoInfoQuery,   // AI;
    AutoInfoOff,     // AI0;
    PowerQuery,      // PS;
    PowerOn,         // PS1;
    Unsupported,     // anything else: answered "?;"
  };
  Kind kind = Kind::Unsupported;
  // FreqASet/FreqBSet: the seven panel digits (10 Hz units).
  // ModeSet: the mode code "M1".."M4". RxVfoSet/TxVfoSet: the VFO digit.
  std::string argument;
  std::string text;  // the request as received, without its ";"
  bool operator==(const KenwoodRequest&) const = default;

  // Settings change the panel and are carried out by its workers; everything
  // else (queries, key-down and key-up, the no-ops) can be done at once.
  bool isSetting() const;
  bool isQuery() const;
};

// The requests of `text` in order, each closed by ";"; empty ones and a
// trailing one without ";" are dropped. Matched as they stand (upper case,
// nothing trimmed), like the transceivers the dialect stands in for.
std::vector<KenwoodRequest> parseKenwoodRequests(std::string_view text);

inline constexpr const char* kKenwoodRefused = "?;";
// A TS-2000 answers its identity this way; station programs pick their
// driver from it.
inline constexpr const char* kKenwoodIdentity = "ID019;";

// The answer to a query from the published state; empty when the state does
// not hold what the answer needs yet (the port then answers "?;").
std::string kenwoodAnswer(const KenwoodRequest& query, const RigStateSnapshot& state);

// The fixed-width IF answer: frequency (11 digits, Hz), 5 blanks, RIT/XIT
// offset "+0000", RIT, XIT, memory bank and channel, receive/transmit, mode,
// VFO, scan, split, tone, tone number, shift; 38 characters with the ";".
std::string kenwoodInformation(const RigStateSnapshot& state);

// The mode digit for the digital mode shown and the mode code; 0 when there
// is none. PSK runs on the transceiver's own mode, which is what is told.
char kenwoodModeDigit(const std::string& digitalMode, const std::string& modeCode);

}  // namespace zr
