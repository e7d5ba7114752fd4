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
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

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

bool ReadFile(const char* path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !out.empty();
}

}  // namespace

int main(int argc, char** argv) {
  int port = 0;
  const char* replyFile = nullptr;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--port") == 0) port = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--reply") == 0) replyFile = argv[i + 1];
  }
  if (port <= 0 || port > 65535 || replyFile == nullptr) {
    std::fprintf(stderr, "usage: bench_ceiling --port PORT --reply FILE\n");
    return 2;
  }
  if (!ReadFile(replyFile, reply)) {
    std::fprintf(stderr, "bench_ceiling: cannot read a reply from %s\n", replyFile);
    return 2;
  }
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
