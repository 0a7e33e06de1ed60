#include "lists/ChannelTransfer.h"

#include <algorithm>
#include <map>
#include <set>

#include "core/Errors.h"
#include "core/Panel.h"
#include "core/RadioLink.h"
#include "core/StatusDecoder.h"
#include "lists/ChannelFile.h"
#include "lists/ChannelSetupWindowModel.h"
#include "lists/PumpingWait.h"

namespace zr {

namespace {

std::string twoDigits(int n) { return std::string(1, static_cast<char>('0' + n / 10)) + static_cast<char>('0' + n % 10); }

std::string joined(const std::vector<std::string>& items) {
  std::string out;
  for (const auto& s : items) out += (out.empty() ? "" : ", ") + s;
  return out;
}

std::string count(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Entries a run left out, quoted as the list shows them.
std::string skippedNote(const std::vector<std::string>& entries) {
  std::string quoted;
  for (const auto& e : entries) quoted += (quoted.empty() ? "\"" : ", \"") + e + "\"";
  return entries.empty() ? "" : " Skipped, not channel records: " + quoted + ".";
}

// What the radio holds for a channel against what the list says, or nothing
// when they agree.
std::optional<std::string> difference(const std::string& listed, const std::optional<std::string>& radio) {
  const std::string ch = listed.substr(0, 2) + ": ";
  if (!radio) return ch + "missing in the radio (list " + describeChannelRecord(listed) + ")";
  const bool freq = radio->substr(2, 7) != listed.substr(2, 7);
  const bool mode = (*radio)[9] != listed[9];
  if (!freq && !mode) return std::nullopt;
  const char* what = freq && mode ? "other frequency and mode" : freq ? "other frequency" : "other mode";
  return ch + what + " (radio " + describeChannelRecord(*radio) + ", list " + describeChannelRecord(listed) + ")";
}

}  // namespace

// Routes the decoder's channel lines into this run for as long as it lasts,
// however it ends.
class ChannelTransfer::Capture {
 public:
  explicit Capture(ChannelTransfer& t) : decoder_(t.p_.decoder()) {
    decoder_.setChannelReplySink([&t](const std::string& line) { t.lines_.push_back(line); });
  }
  ~Capture() { decoder_.setChannelReplySink(nullptr); }
  Capture(const Capture&) = delete;
  Capture& operator=(const Capture&) = delete;

 private:
  StatusDecoder& decoder_;
};

void ChannelTransfer::begin() {
  stopRequested_ = false;
  lines_.clear();
  partial_.clear();
  refusedAt_.clear();
  unanswered_.clear();
  lastAsked_.clear();
}

void ChannelTransfer::progress(const char* run, std::size_t n, std::size_t total) {
  m_.lblStatus.caption = std::string(run) + ": channel " + std::to_string(n) + " of " + std::to_string(total);
  m_.prgProgress.max = static_cast<int>(total);
  m_.prgProgress.value = static_cast<int>(n);
}

// The command, then its wait with the windows live. The wait always runs to
// its end, so the reply of the channel in progress is never left behind.
void ChannelTransfer::send(const std::string& command) {
  if (!p_.MSComm1.isOpen()) throw RuntimeError(err::PortNotOpen);
  p_.link().gSendCommand(command, true, 0);
  pumpFor(p_.engine, p_.clock, kWait, {});
}

std::vector<std::string> ChannelTransfer::readChannel(const std::string& channel) {
  lastAsked_ = channel;
  unanswered_.insert(channel);
  send("L" + channel);
  // Silence after the wait is an empty channel, not a lost link: only a
  // reply that has begun is read.
  if (p_.MSComm1.isOpen() && p_.MSComm1.inBufferCount() > 0) p_.link().gReadResponse();
  return creditReplies();
}

std::vector<std::string> ChannelTransfer::lastReplies() {
  std::vector<std::string> records;
  const double start = p_.clock.now();
  while (unanswered_.count(lastAsked_) &&
         pumpUntilInput(p_.engine, p_.clock, p_.MSComm1, start, RadioLink::kReplyTimeout, {})) {
    p_.link().gReadResponse();
    for (auto& r : creditReplies()) records.push_back(std::move(r));
  }
  return records;
}

std::vector<std::string> ChannelTransfer::creditReplies() {
  std::vector<std::string> records;
  bool refused = false;
  for (const auto& line : lines_) {
    const std::string body = line.substr(1);
    // A channel answers once, and only when it was asked.
    if (line.size() == 11 && isChannelRecord(body) && unanswered_.erase(body.substr(0, 2)) > 0)
      records.push_back(body);
    else
      refused = true;
  }
  lines_.clear();
  if (refused && (refusedAt_.empty() || refusedAt_.back() != lastAsked_)) refusedAt_.push_back(lastAsked_);
  return records;
}

void ChannelTransfer::drainReplies() {
  if (!p_.MSComm1.isOpen()) return;
  partial_ += p_.MSComm1.input();
  const std::size_t end = partial_.rfind('\n');
  if (end == std::string::npos) return;
  std::string complete = partial_.substr(0, end + 1);
  partial_.erase(0, end + 1);
  p_.decoder().gParseResponse(complete);
}

// The last echo may still be on its way when the last wait ends; left in
// the buffer, the service loop would take it for VFO A. It gets the link's
// reply timeout, as a read would.
void ChannelTransfer::settleReplies(const std::string& lastEcho) {
  const auto echoed = [&] {
    return partial_.empty() && std::find(lines_.begin(), lines_.end(), lastEcho) != lines_.end();
  };
  const double start = p_.clock.now();
  while (!echoed() && pumpUntilInput(p_.engine, p_.clock, p_.MSComm1, start, RadioLink::kReplyTimeout, {}))
    drainReplies();
}

std::string ChannelTransfer::load() {
  begin();
  Capture capture(*this);
  Control& list = m_.lsbChList;
  list.items.clear();
  list.text.clear();
  forgetVerify();
  // A slow record goes where it would have gone in time: the list stays in
  // channel order.
  const auto byChannel = [](const std::string& a, const std::string& b) { return a.compare(0, 2, b, 0, 2) < 0; };
  const auto place = [&](const std::vector<std::string>& records) {
    for (const auto& r : records) {
      list.items.insert(std::upper_bound(list.items.begin(), list.items.end(), r, byChannel), r);
      m_.txtResp.text = "P" + r;
    }
  };
  int asked = 0;
  for (int n = 0; n < kChannels && !stopRequested_; ++n) {
    progress("Load", static_cast<std::size_t>(n) + 1, kChannels);
    place(readChannel(twoDigits(n)));
    asked = n + 1;
  }
  place(lastReplies());
  list.visible = true;
  const std::size_t read = list.items.size();
  std::string out = asked < kChannels
                        ? "Load stopped after channel " + twoDigits(asked - 1) + ": " + count(read, "channel", "channels") + " read."
                        : "Load: " + count(read, "channel", "channels") + " read, " +
                              std::to_string(static_cast<std::size_t>(kChannels) - read) + " empty.";
  if (!refusedAt_.empty()) out += " Replies refused at channels " + joined(refusedAt_) + ".";
  return out;
}

std::string ChannelTransfer::store() {
  begin();
  Capture capture(*this);
  const std::vector<std::string> entries = m_.lsbChList.items;
  std::vector<std::string> sent, skipped;
  std::size_t done = 0;
  for (const std::string& entry : entries) {
    if (stopRequested_) break;
    progress("Store", ++done, entries.size());
    // The transceiver would take a malformed record as some other channel.
    if (!isChannelRecord(entry)) {
      skipped.push_back(entry);
      continue;
    }
    m_.txtResp.text = entry;
    send("P" + entry);
    sent.push_back(entry);
    drainReplies();
  }
  if (!sent.empty()) settleReplies("P" + sent.back());
  // The transceiver answers a store with the channel as it now holds it.
  std::multiset<std::string> echoes(lines_.begin(), lines_.end());
  std::size_t confirmed = 0;
  for (const auto& r : sent)
    if (auto it = echoes.find("P" + r); it != echoes.end()) {
      echoes.erase(it);
      ++confirmed;
    }
  std::string out = done < entries.size() ? "Store stopped after entry " + std::to_string(done) + " of " +
                                                std::to_string(entries.size()) + ": "
                                          : "Store: ";
  out += count(sent.size(), "channel", "channels") + " sent, " + std::to_string(confirmed) + " confirmed by the radio.";
  return out + skippedNote(skipped);
}

std::string ChannelTransfer::verify() {
  begin();
  Capture capture(*this);
  // The radio keeps the last record stored for a channel.
  std::vector<std::string> order;
  std::map<std::string, std::string> expected;
  std::vector<std::string> skipped;
  for (const auto& entry : m_.lsbChList.items) {
    if (!isChannelRecord(entry)) {
      skipped.push_back(entry);
      continue;
    }
    const std::string ch = entry.substr(0, 2);
    if (!expected.count(ch)) order.push_back(ch);
    expected[ch] = entry;
  }
  if (order.empty()) return "Verify: the list holds no channel to compare.";
  Control& found = m_.lsbVerify;
  found.items.clear();
  found.text.clear();
  found.visible = true;
  std::map<std::string, std::string> radio;  // what came back, by channel
  std::size_t checked = 0;
  const auto take = [&](const std::vector<std::string>& records) {
    for (const auto& r : records) {
      radio[r.substr(0, 2)] = r;
      m_.txtResp.text = "P" + r;
    }
    // A slow record can still clear a channel shown as missing.
    found.items.clear();
    for (std::size_t i = 0; i < checked; ++i) {
      const auto it = radio.find(order[i]);
      const auto held = it == radio.end() ? std::nullopt : std::optional<std::string>(it->second);
      if (auto d = difference(expected[order[i]], held)) found.items.push_back(*d);
    }
  };
  for (const auto& ch : order) {
    if (stopRequested_) break;
    progress("Verify", checked + 1, order.size());
    const auto records = readChannel(ch);
    ++checked;
    take(records);
  }
  take(lastReplies());
  const std::size_t differ = found.items.size();
  std::string outcome = differ == 0 ? "no differences" : count(differ, "channel differs", "channels differ");
  if (differ == 0) found.items.push_back("No differences.");
  std::string out = checked < order.size()
                        ? "Verify stopped after " + std::to_string(checked) + " of " + std::to_string(order.size()) + " channels: " + outcome + "."
                    : differ == 0 ? "Verify: " + count(checked, "channel matches", "channels match") + " the radio."
                                  : "Verify: " + std::to_string(differ) + " of " + std::to_string(checked) + " channels differ from the radio.";
  out += skippedNote(skipped);
  if (!refusedAt_.empty()) out += " Replies refused at channels " + joined(refusedAt_) + ".";
  m_.txtResp.text = out;
  verifyOutcome_ = out;
  return out;
}

void ChannelTransfer::forgetVerify() {
  m_.lsbVerify.items.clear();
  m_.lsbVerify.text.clear();
  m_.lsbVerify.visible = false;
  if (!verifyOutcome_.empty() && m_.txtResp.text == verifyOutcome_)
    m_.txtResp.text = ChannelSetupWindowModel{}.txtResp.text;
  verifyOutcome_.clear();
}

}  // namespace zr
