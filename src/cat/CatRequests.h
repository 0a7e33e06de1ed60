#pragma once
// The requests station software sends on the CAT port, cut from the text of
// one receive event, and the texts of their answers. No state: the port
// (CatPort) decides what to do with each request.
#include <string>
#include <string_view>
#include <vector>

namespace zr {

struct CatRequest {
  enum class Kind { FreqQuery, FreqSet, ModeQuery, ModeSet };
  Kind kind;
  // FreqSet: the seven digits after "FA000" (10 Hz units).
  // ModeSet: the mode code ("M1".."M4").
  std::string argument;
  bool operator==(const CatRequest&) const = default;
};

// The recognised requests of `text` in order. Requests are closed by ";" and
// matched as they stand (case-sensitive, nothing trimmed); empty ones,
// unrecognised ones and a trailing one without ";" are dropped.
std::vector<CatRequest> parseCatRequests(std::string_view text);

// The requests of `text` that are closed by ";" but not recognised, in
// order, without repeats and without their ";".
std::vector<std::string> ignoredCatRequests(std::string_view text);

// The line that shows ignored requests to the operator: "ignored: ID; IF;".
// Unprintable characters show as "?", and the line stays short.
std::string ignoredCatRequestsText(const std::vector<std::string>& ignored, const std::string& prefix = "ignored:");

// The requests worth carrying out: a setting that a later setting of the
// same kind replaces before anything asks for that value is left out, and
// of the settings left only the first `maxSettings` are kept. Each setting
// holds the service loop for half a second or more, so a client that queues
// settings faster than the transceiver takes them must not freeze the panel.
std::vector<CatRequest> worthCarryingOut(const std::vector<CatRequest>& requests, std::size_t maxSettings);

// The mode code a mode-setting digit stands for; empty for any other digit.
std::string catModeCode(char digit);

// The answer to an FA query for the state's frequency text ("F" + seven
// digits); empty while no such frequency is known.
std::string catFreqAnswer(const std::string& freqCmd);

// The answer to an MD query for the digital mode shown and the state's mode
// code; empty when either is not one the dialect can express.
std::string catModeAnswer(const std::string& digitalMode, const std::string& modeCode);

}  // namespace zr
