#pragma once
// The dialogs' captions from the language file, and a template of that file with the German
// defaults. Made for one call and discarded.

#include <string>
#include <utility>
#include <vector>

class DialogSet;
class LogSink;

class LanguageTranslation {
 public:
  // path: the language file; folder: the folder that holds it, made when a template is written;
  // dialogs: the dialogs whose captions it sets; log: where writing logs.
  LanguageTranslation(std::string path, std::string folder, const DialogSet& dialogs, LogSink& log)
      : path_(std::move(path)), folder_(std::move(folder)), dialogs_(dialogs), log_(log) {}

  // One caption: where the file keeps it, its built-in text, and the control that shows it.
  struct Row {
    const char* section;
    const char* key;
    const char* defaultText;
    const char* dialog;  // "ConfigDlg" or "ServerRestartDlg"
    const char* control;
  };
  // The vocabulary in the order both operations process it (and a written file holds it).
  static const std::vector<Row>& Vocabulary();

  // Sets every caption from the file; a missing file, section or
  // key gives the built-in text. Logs nothing.
  void ReadLanguageFile();
  // Logs the path, then writes the built-in texts into the file, keeping its other sections
  // and keys. A failure is logged; nothing else changes.
  void WriteLanguageFile();

 private:
  std::string path_;
  std::string folder_;
  const DialogSet& dialogs_;
  LogSink& log_;
};
