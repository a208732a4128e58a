#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace dovetail {

// The folder of the running executable (where the game folder is by default).
std::filesystem::path ExecutableFolder(const char* argv0);

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
