#include "ui/network.h"

#include <algorithm>

#include "platform/net.h"

int Network::GetLocalAddresses(std::vector<std::string>* list) {
  return GetLocalAddresses(list,
                           [](std::vector<std::string>& out) { return net::HostAddresses(out); });
}

int Network::GetLocalAddresses(std::vector<std::string>* list, const Resolver& resolve) {
  std::vector<std::string> found;
  try {
    if (!resolve(found)) found.clear();
  } catch (...) {
    found.clear();
  }
  for (const char* extra : {"127.0.0.1", "0.0.0.0"}) {
    if (std::find(found.begin(), found.end(), extra) == found.end()) found.push_back(extra);
  }
  if (list != nullptr) *list = found;
  return static_cast<int>(found.size());
}
