#pragma once
// The host's own IPv4 addresses, offered by the configuration dialog as server addresses.

#include <functional>
#include <string>
#include <vector>

class Network {
 public:
  // Fills the addresses into the given list; false when the system gave none.
  using Resolver = std::function<bool(std::vector<std::string>& out)>;

  // Clears the list (when given) and fills it: the resolver's addresses in its order, then
  // "127.0.0.1" unless the resolver gave it, and last "0.0.0.0" (every interface). So the user
  // can always bind to the loopback address only or to every interface, even when the
  // resolver fails. Returns the number of entries; the first one stays the default choice.
  int GetLocalAddresses(std::vector<std::string>* list);
  int GetLocalAddresses(std::vector<std::string>* list, const Resolver& resolve);
};
