// The ceiling of our server design: the same chain of threads with no work in between. The
// waiting thread accepts, starts its successor, reads the request once (at most 2047 bytes),
// sends a fixed reply in one piece and closes. Runs until SIGTERM or SIGINT.
//
//   bench_ceiling --port PORT --reply FILE

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "chain_options.h"

namespace {

int listener = -1;
std::string reply;

void* Wait(void*);

bool StartWaiter() {
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
  pthread_attr_setstacksize(&attr, 64 * 1024);
  pthread_t thread;
  int rc = pthread_create(&thread, &attr, Wait, nullptr);
  pthread_attr_destroy(&attr);
  return rc == 0;
}

void Serve(int client) {
  char request[2048];
  if (recv(client, request, 2047, 0) > 0) send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
  close(client);
}

void* Wait(void*) {
  for (;;) {
    int client = accept(listener, nullptr, nullptr);
    if (client < 0) {
      if (errno != EINTR && errno != ECONNABORTED) usleep(10000);  // out of descriptors
      continue;
    }
    // Without a successor this thread serves and then waits again itself.
    bool handedOn = StartWaiter();
    Serve(client);
    if (handedOn) return nullptr;
  }
}

int Listen(int port) {
  int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) return -1;
  int on = 1;
  setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(s, SOMAXCONN) != 0) {
    close(s);
    return -1;
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  int port = 0;
  if (!bench::ReadChainOptions(argc, argv, "bench_ceiling", port, reply)) return 2;
  // Every thread inherits the mask, so only the main thread takes the signals.
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTERM);
  sigaddset(&stop, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stop, nullptr);
  listener = Listen(port);
  if (listener < 0) {
    std::fprintf(stderr, "bench_ceiling: cannot listen on 127.0.0.1:%d: %s\n", port,
                 std::strerror(errno));
    return 1;
  }
  if (!StartWaiter()) {
    std::fprintf(stderr, "bench_ceiling: cannot start a thread\n");
    return 1;
  }
  int sig = 0;
  sigwait(&stop, &sig);
  return 0;
}
