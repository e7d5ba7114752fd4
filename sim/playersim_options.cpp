#include "sim/playersim_options.h"

#include "platform/files.h"
#include "sim/m3u.h"

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

bool PrepareSetup(const std::vector<std::string>& args, Setup& setup, std::string& error) {
  if (!ParseOptions(args, setup.options, error)) return false;
  setup.playlist = DemoPlaylist();
  if (!setup.options.playlist.empty()) {
    std::string bytes;
    if (!files::ReadAll(setup.options.playlist, bytes)) {
      error = "cannot read playlist " + setup.options.playlist;
      return false;
    }
    setup.playlist = ReadM3u(bytes);
  }
  setup.dir = FolderPath(setup.options.dir);
  if (!setup.dir.empty()) files::MakeFolder(setup.dir);
  if (!files::MakeFolder(setup.dir + "Plugins")) {
    error = "cannot create folder " + setup.dir + "Plugins";
    return false;
  }
  return true;
}

}  // namespace sim
