#include "programs/common/CommandLine.h"

#include <unistd.h>

#include <charconv>
#include <iostream>
#include <system_error>

#include "storage/DataFolder.h"

namespace dovetail {

bool ParseWholeNumber(const std::string& text, uint32_t& out) {
  uint32_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  out = value;
  return true;
}

std::filesystem::path ExecutableFolder(const char* argv0) {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) return self.parent_path();
  return std::filesystem::absolute(argv0, ec).parent_path();
}

DefaultGame FindDefaultGame(const char* argv0) {
  const std::filesystem::path own = ExecutableFolder(argv0);
  std::error_code ec;
  if (std::filesystem::is_directory(own / "data", ec) ||
      std::filesystem::exists(DataFile(own, kSettingsFile), ec)) {
    return {own, false};
  }
  // The installed game's place relative to the installed program, so that a
  // package installed under another prefix finds its game too.
  const std::filesystem::path installed = (own / DOVETAIL_INSTALLED_GAME).lexically_normal();
  if (std::filesystem::is_directory(installed, ec)) return {installed, true};
  return {own, false};
}

CommandLine::CommandLine(int argc, char** argv)
    : args_(argv + 1, argv + argc), used_(args_.size(), false) {}

bool CommandLine::Flag(const std::string& name) {
  for (size_t i = 0; i < args_.size(); ++i) {
    if (args_[i] == name) {
      used_[i] = true;
      return true;
    }
  }
  return false;
}

bool CommandLine::AnsweredHelpOrVersion(const std::string& program, const char* usage) {
  if (Flag("--help")) {
    std::cout << usage;
    return true;
  }
  if (Flag("--version")) {
    std::cout << program << " " << DOVETAIL_VERSION << "\n";
    return true;
  }
  return false;
}

std::optional<std::string> CommandLine::Value(const std::string& name) {
  for (size_t i = 0; i < args_.size(); ++i) {
    if (args_[i] != name) continue;
    used_[i] = true;
    if (i + 1 >= args_.size()) {
      problems_ += name + " needs a value\n";
      return std::nullopt;
    }
    used_[i + 1] = true;
    return args_[i + 1];
  }
  return std::nullopt;
}

std::string CommandLine::Problems() const {
  std::string problems = problems_;
  for (size_t i = 0; i < args_.size(); ++i) {
    if (!used_[i]) problems += "unknown argument \"" + args_[i] + "\"\n";
  }
  return problems;
}

}  // namespace dovetail
