// The ceiling of our server design on Windows: the thread chain of bench_ceiling written with
// Windows Sockets 1.1, as the plug-in uses them. The waiting thread accepts, starts its
// successor, reads the request once (at most 2047 bytes), sends a fixed reply in one piece and
// closes. Runs until the process is ended.
//
//   bench_winsock_chain --port PORT --reply FILE

#include <winsock.h>
// winsock.h first: windows.h must not pull in another socket header.
#include <windows.h>

#include <cstdio>
#include <string>

#include "chain_options.h"

namespace {

SOCKET listener = INVALID_SOCKET;
std::string reply;

DWORD WINAPI Wait(LPVOID);

bool StartWaiter() {
  HANDLE thread =
      CreateThread(nullptr, 64 * 1024, Wait, nullptr, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (thread == nullptr) return false;
  CloseHandle(thread);  // detached: the thread ends on its own
  return true;
}

void Serve(SOCKET client) {
  char request[2048];
  if (recv(client, request, 2047, 0) > 0) {
    send(client, reply.data(), static_cast<int>(reply.size()), 0);
  }
  closesocket(client);
}

DWORD WINAPI Wait(LPVOID) {
  for (;;) {
    SOCKET client = accept(listener, nullptr, nullptr);
    if (client == INVALID_SOCKET) {
      Sleep(10);  // out of handles, or a client that left in the backlog
      continue;
    }
    // Without a successor this thread serves and then waits again itself.
    bool handedOn = StartWaiter();
    Serve(client);
    if (handedOn) return 0;
  }
}

// As the plug-in asks: the system's largest backlog (the header's SOMAXCONN is 5), so that a
// burst of clients is not dropped and retried only after seconds.
constexpr int kLargestBacklog = 0x7fffffff;

SOCKET Listen(int port) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  if (s == INVALID_SOCKET) return s;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<u_short>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      listen(s, kLargestBacklog) != 0) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  int port = 0;
  if (!bench::ReadChainOptions(argc, argv, "bench_winsock_chain", port, reply)) return 2;
  WSADATA data;
  if (WSAStartup(MAKEWORD(1, 1), &data) != 0) {
    std::fprintf(stderr, "bench_winsock_chain: no Windows Sockets\n");
    return 1;
  }
  listener = Listen(port);
  if (listener == INVALID_SOCKET) {
    std::fprintf(stderr, "bench_winsock_chain: cannot listen on 127.0.0.1:%d: error %d\n", port,
                 WSAGetLastError());
    return 1;
  }
  if (!StartWaiter()) {
    std::fprintf(stderr, "bench_winsock_chain: cannot start a thread\n");
    return 1;
  }
  Sleep(INFINITE);
  return 0;
}
