#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "content/Finding.h"
#include "content/ScriptCheck.h"

namespace dovetail::tools {

// The readable form of a game's script: UTF-8 comma-separated text, one
// record a line, the same 13 columns as the game's script (heading rows with
// "num" in column 1 allowed) and the 3 columns of its choice table.
//
// Compiling makes the game's files from it: the text is converted to CP932,
// a UTF-8 byte-order mark at the start is dropped, every line end (LF, CR or
// CR LF) becomes CR LF, a last line without a line end gets one (the game
// cannot read an empty last field that the end of the file cuts off), and
// every byte is inverted. Nothing else changes, so decompiling gives the
// source back byte for byte when every line of it ends in CR LF, it has no
// byte-order mark and only characters that CP932 holds one to one (a
// character such as the wave dash U+301C, which CP932 stores as the
// full-width tilde U+FF5E, comes back as that other character; compiling
// warns about it).

// A UTF-8 source text in the game's form (CP932, CR LF). A character CP932
// cannot hold is an error naming file, row and character; the result is then
// empty. Characters that come back as another one are warnings.
std::optional<std::string> SourceToCp932(std::string_view utf8, const std::string& file,
                                         std::vector<Finding>& findings);

// A CP932 text as UTF-8, line ends kept. Bytes that are not CP932 are an
// error naming file and row; the result is then empty.
std::optional<std::string> Cp932ToSource(std::string_view cp932, const std::string& file,
                                         std::vector<Finding>& findings);

struct CompiledScript {
  std::vector<Finding> findings;
  std::string script;   // the bytes of 51.dat (inverted)
  std::string choices;  // the bytes of 52.dat (inverted)
  bool ok() const { return CountErrors(findings) == 0; }
};

// Compiles the two source texts. The result is checked the way `check`
// checks a data folder's script (the game's loader must accept it, labels
// rise, jump and choice targets exist, …); any error leaves `script` and
// `choices` empty. `names` name the sources in the findings.
CompiledScript CompileScript(std::string_view scriptUtf8, std::string_view choicesUtf8,
                             const ScriptFileNames& names);

// Compiles the source files into `outDir`/51.dat and 52.dat (the folder is
// created when missing). Nothing is written when there is an error.
std::vector<Finding> CompileScriptFiles(const std::filesystem::path& scriptSource,
                                        const std::filesystem::path& choiceSource,
                                        const std::filesystem::path& outDir);

struct DecompiledScript {
  std::vector<Finding> findings;
  std::string script;   // UTF-8 text of 51.dat
  std::string choices;  // UTF-8 text of 52.dat
  bool ok() const { return CountErrors(findings) == 0; }
};

// The readable texts of the game's 51.dat and 52.dat bytes.
DecompiledScript DecompileScript(std::string_view script51, std::string_view choices52);

// Decompiles `dataDir`/51.dat and 52.dat into `outDir`/script.csv and
// choices.csv (the folder is created when missing). Nothing is written when
// there is an error.
std::vector<Finding> DecompileDataFolder(const std::filesystem::path& dataDir,
                                         const std::filesystem::path& outDir);

}  // namespace dovetail::tools
