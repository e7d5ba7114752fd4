#include "sim/playersim_options.h"

namespace sim {

bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--no-shoutcast") {
      options.shoutcast = false;
    } else if (a == "--dir" || a == "--playlist") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = "option " + a + " needs a value";
        return false;
      }
      (a == "--dir" ? options.dir : options.playlist) = args[++i];
    } else {
      error = "unknown option " + a;
      return false;
    }
  }
  return true;
}

std::string FolderPath(const std::string& dir) {
  if (dir.empty() || dir.back() == '\\' || dir.back() == '/') return dir;
  return dir + "\\";
}

}  // namespace sim
