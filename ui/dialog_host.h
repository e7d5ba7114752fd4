#pragma once
// What the dialogs need from the plug-in above them: the log, the settings file's path, the
// server's side of the plug-in (for the server the Start button creates) and the language file.
// The central object implements it and hands it to its dialogs.

#include <string>

#include "base/log_sink.h"

class ServerHost;

class DialogHost : public LogSink {
 public:
  virtual std::string IniPath() = 0;
  virtual ServerHost& ServerSide() = 0;
  // Sets the captions from the language file / writes the template with the built-in texts.
  virtual void ReadLanguageFile() = 0;
  virtual void WriteLanguageFile() = 0;

 protected:
  ~DialogHost() = default;
};
