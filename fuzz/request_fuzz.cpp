// The whole request path on raw bytes, without a socket: the first four bytes choose the
// settings, the client's address and the address list, the rest is the request as received.
// Checked: a refused address gets no reply; a reply ends in a line feed and carries the header
// exactly when it is on, except the remote-control page, which comes with a header and only for
// a target that is only a query; every looked-up parameter is a piece of the request.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/text.h"
#include "control/password_backoff.h"
#include "control/serve_request.h"
#include "protocol/host_messages.h"
#include "protocol/remote_page.h"
#include "protocol/request_context.h"

namespace {

const char* const kAddresses[] = {"127.0.0.1", "10.0.0.1", "192.168.1.20", " 10.0.0.1 "};
const char* const kPasswords[] = {"", "velotam", " Geheim\t", "p"};
const char kText[] = "C:\\Player\\title one - a.mp3";

// A player that answers every request at once: texts for the requests that return one, else a
// small number (the playlist is three entries long).
struct FuzzPlayer : RequestHost {
  void WriteLog(const std::string& line) override { logged += line.size(); }
  std::intptr_t SendPlayerMessage(std::uint32_t msg, std::uintptr_t wparam,
                                  std::intptr_t lparam) override {
    if (msg != hostmsg::WM_HOST_USER) return 0;
    switch (lparam) {
      case hostmsg::IPC_GETPLAYLISTFILE:
      case hostmsg::IPC_GETPLAYLISTTITLE:
        return wparam < 3 ? reinterpret_cast<std::intptr_t>(kText) : 0;
      case hostmsg::IPC_GETINIFILE:
        return reinterpret_cast<std::intptr_t>(kText);
      case hostmsg::IPC_GETLISTLENGTH:
        return 3;
      default:
        return static_cast<std::intptr_t>(wparam % 7);
    }
  }
  std::intptr_t SendPlayerCopyData(std::uintptr_t, const std::string& text) override {
    return static_cast<std::intptr_t>(text.size());
  }
  std::string ReadPlayerText(int) override { return "1. title - Player"; }
  host::Window FindWindowByClass(const std::string&) override { return 7; }
  host::Window FindWindowByTitle(const std::string&) override { return 8; }
  std::intptr_t SendWindowMessage(host::Window, std::uint32_t, std::uintptr_t,
                                  std::intptr_t) override {
    return 1;
  }
  std::string ReadItemText(host::Window, int, int) override { return "Connect"; }
  void SetAutostart(int value) override { autostart = value; }
  clk::UtcTime Now() override { return clk::UtcTime{2026, 12, 6, 7, 6, 13, 2}; }
  // Two seconds pass between inputs, so the back-off locks, doubles and lets go.
  std::int64_t SteadyMs() override { return nowMs; }
  std::int64_t nowMs = 0;

  std::size_t logged = 0;
  int autostart = 0;
};

struct Reply : ReplySink {
  bool SendAll(const std::string& data) override {
    bytes += data;
    return true;
  }
  std::string bytes;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  RequestSettings settings;
  settings.controlAllowed = (data[0] & 1) != 0;
  settings.httpHeader = (data[0] & 2) != 0;
  settings.blockListMode = (data[0] & 4) != 0;
  settings.autostart = (data[0] >> 3) & 1;
  const std::string address = kAddresses[data[1] % 4];
  for (int i = 0; i < 4; ++i) {
    if ((data[2] >> i) & 1) settings.addressList.push_back(kAddresses[i]);
  }
  settings.password = kPasswords[data[3] % 4];
  const std::string received(reinterpret_cast<const char*>(data) + 4, size - 4);

  bool listed = false;
  for (const std::string& line : settings.addressList)
    listed |= text::Trim(line) == text::Trim(address);
  const bool addressPasses = settings.blockListMode ? !listed : listed;
  const bool header = settings.httpHeader;

  static PasswordBackoff backoff;
  static std::int64_t clock = 0;
  clock += 2000;
  FuzzPlayer player;
  player.nowMs = clock;
  Reply reply;
  RequestContext request(std::move(settings), player, &reply);
  ServeRequest(received, address, request, &backoff);

  const std::string cut = received.substr(0, received.find('\0'));
  if (!addressPasses && !reply.bytes.empty()) std::abort();
  const std::string page = kRemotePage;
  const bool sentPage =
      reply.bytes.size() > page.size() &&
      reply.bytes.compare(reply.bytes.size() - page.size(), page.size(), page) == 0;
  if (sentPage) {
    // Only for a target that is only a query, and always with a header.
    if (cut.compare(4, 2, "/?") != 0 || reply.bytes.rfind("HTTP/1.0 200 OK\n", 0) != 0)
      std::abort();
  } else if (!reply.bytes.empty()) {
    if (reply.bytes.back() != '\n') std::abort();
    if ((reply.bytes.rfind("HTTP/1.0 200 OK\n", 0) == 0) != header) std::abort();
  }
  return 0;
}
