#pragma once
// The command line of the bare chains (bench_ceiling, bench_winsock_chain): the port to listen
// on and the file whose bytes are the fixed reply.
//   NAME --port PORT --reply FILE

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace bench {

// False, with the reason on standard error, when the options or the reply file are unusable.
inline bool ReadChainOptions(int argc, char** argv, const char* name, int& port,
                             std::string& reply) {
  port = 0;
  const char* replyFile = nullptr;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--port") == 0) port = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--reply") == 0) replyFile = argv[i + 1];
  }
  if (port <= 0 || port > 65535 || replyFile == nullptr) {
    std::fprintf(stderr, "usage: %s --port PORT --reply FILE\n", name);
    return false;
  }
  std::ifstream in(replyFile, std::ios::binary);
  if (in) reply.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!in || reply.empty()) {
    std::fprintf(stderr, "%s: cannot read a reply from %s\n", name, replyFile);
    return false;
  }
  return true;
}

}  // namespace bench
