#pragma once

#include <filesystem>
#include <string>

namespace dovetail::testing {

// A small, complete data folder for end-to-end tests, built in a fresh
// temporary folder: settings, ranking, script and choices (given as UTF-8
// rows, compiled like the game's own files), the disguised pictures (with
// "JF"), the title, splash and user-interface pictures, three short pieces of
// music (3, 4 and 2 seconds) and the choice cursor.
struct TestDataFolder {
  // `name` makes the folder unique for the test.
  explicit TestDataFolder(const std::string& name);
  ~TestDataFolder();
  TestDataFolder(const TestDataFolder&) = delete;
  TestDataFolder& operator=(const TestDataFolder&) = delete;

  // Replaces the script and choice files (UTF-8 rows with CR LF line ends).
  void SetScript(const std::string& scriptRows, const std::string& choiceRows = "");
  // Writes the settings file with the given first line, with or without the
  // clear marker.
  void SetSettings(const std::string& flags, bool cleared);

  std::filesystem::path root;  // the program folder
  std::filesystem::path data;  // root / "data"
};

// The first two bytes of a file.
std::string HeaderOf(const std::filesystem::path& path);

}  // namespace dovetail::testing
