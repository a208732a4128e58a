#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace dovetail {

// The folder of the running executable.
std::filesystem::path ExecutableFolder(const char* argv0);

// The game a program plays when no --game names one: the game in the
// program's own folder (one with a "data" folder or a settings file, as a
// build or an unpacked game has), else the game installed with the program
// (`installed` true), else the program's folder all the same, so that start-up
// says what is missing.
struct DefaultGame {
  std::filesystem::path folder;
  bool installed = false;
};
DefaultGame FindDefaultGame(const char* argv0);

// Reads `text` as a whole number that fits 32 bits into `out`; false (and
// `out` untouched) when it is anything else.
bool ParseWholeNumber(const std::string& text, uint32_t& out);

// A small command-line reader for "--name value" options and "--flag"s.
class CommandLine {
 public:
  CommandLine(int argc, char** argv);
  bool Flag(const std::string& name);
  // Answers --help (with `usage`) and --version on standard output; true when
  // it did, and the program should end.
  bool AnsweredHelpOrVersion(const std::string& program, const char* usage);
  std::optional<std::string> Value(const std::string& name);
  // Options that were given but never asked for, and values missing after an
  // option; empty when the command line was understood.
  std::string Problems() const;

 private:
  std::vector<std::string> args_;
  std::vector<bool> used_;
  std::string problems_;
};

}  // namespace dovetail
