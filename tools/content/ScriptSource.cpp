#include "content/ScriptSource.h"

#include <cstdio>
#include <system_error>

#include "base/Cp932.h"
#include "base/Files.h"
#include "base/Utf8.h"
#include "content/RouteCheck.h"
#include "content/TextLines.h"
#include "storage/DataFolder.h"

namespace dovetail::tools {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string CodePointName(char32_t cp) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
  return buf;
}

std::string HexByte(unsigned char b) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%02X", b);
  return buf;
}

// Describes the first character of `line` that CP932 cannot hold.
std::string UnencodableCharacter(std::string_view line) {
  for (std::string_view c : Utf8Chars(line)) {
    if (Utf8ToCp932(c).ok()) continue;
    const char32_t cp = DecodeCodePoint(c, 0);
    if (cp == 0xFFFD && c != "\xEF\xBF\xBD") {
      return "the byte " + HexByte(static_cast<unsigned char>(c[0])) + " is not UTF-8 text";
    }
    return "the character \"" + std::string(c) + "\" (" + CodePointName(cp) +
           ") cannot be written in Shift_JIS (CP932)";
  }
  return "the text cannot be written in Shift_JIS (CP932)";
}

// The first character of `line` that CP932 gives back as another one, with
// the one it comes back as.
std::optional<std::pair<std::string, std::string>> ChangedCharacter(std::string_view line) {
  for (std::string_view c : Utf8Chars(line)) {
    auto coded = Utf8ToCp932(c);
    if (!coded.ok()) continue;
    auto back = Cp932ToUtf8(*coded);
    if (back.ok() && *back != c) return std::pair{std::string(c), *back};
  }
  return std::nullopt;
}

Status WriteOutput(const fs::path& outDir, const std::string& name, std::string_view bytes) {
  std::error_code ec;
  fs::create_directories(outDir, ec);
  if (ec) return Error{outDir.string() + ": the folder cannot be created (" + ec.message() + ")"};
  return ReplaceFileAtomically(outDir / name, bytes);
}

}  // namespace

std::optional<std::string> SourceToCp932(std::string_view utf8, const std::string& file,
                                         std::vector<Finding>& findings) {
  if (utf8.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    utf8.remove_prefix(kByteOrderMark.size());
  }
  std::string out;
  bool failed = false;
  for (const TextLine& line : SplitLines(utf8)) {
    auto coded = Utf8ToCp932(line.content);
    if (!coded.ok()) {
      findings.push_back(MakeError(file, UnencodableCharacter(line.content), line.number));
      failed = true;
      continue;
    }
    if (auto changed = ChangedCharacter(line.content)) {
      findings.push_back(MakeWarning(file,
                                     "the character \"" + changed->first + "\" (" +
                                         CodePointName(DecodeCodePoint(changed->first, 0)) +
                                         ") is stored as \"" + changed->second + "\" (" +
                                         CodePointName(DecodeCodePoint(changed->second, 0)) +
                                         "); the game shows that, and decompiling gives it back",
                                     line.number));
    }
    out += *coded;
    out += "\r\n";
  }
  if (failed) return std::nullopt;
  return out;
}

std::optional<std::string> Cp932ToSource(std::string_view cp932, const std::string& file,
                                         std::vector<Finding>& findings) {
  std::string out;
  bool failed = false;
  for (const TextLine& line : SplitLines(cp932)) {
    auto text = Cp932ToUtf8(line.content);
    if (!text.ok()) {
      findings.push_back(MakeError(file, text.error().message, line.number));
      failed = true;
      continue;
    }
    out += *text;
    out += line.ending;
  }
  if (failed) return std::nullopt;
  return out;
}

CompiledScript CompileScript(std::string_view scriptUtf8, std::string_view choicesUtf8,
                             const ScriptFileNames& names) {
  CompiledScript result;
  auto script = SourceToCp932(scriptUtf8, names.script, result.findings);
  auto choices = SourceToCp932(choicesUtf8, names.choices, result.findings);
  if (!script || !choices) return result;
  ScriptCheck check = CheckScriptTexts(*script, *choices, names);
  result.findings.insert(result.findings.end(), check.findings.begin(), check.findings.end());
  if (!result.ok()) return result;
  // What the game would stop on along a route is an error here too, so that
  // nothing the checker rejects is ever written.
  const std::vector<Finding> routes = CheckRoutes(*script, *choices, names.script);
  result.findings.insert(result.findings.end(), routes.begin(), routes.end());
  if (!result.ok()) return result;
  result.script = InvertBytes(*script);
  result.choices = InvertBytes(*choices);
  return result;
}

std::vector<Finding> CompileScriptFiles(const fs::path& scriptSource, const fs::path& choiceSource,
                                        const fs::path& outDir) {
  auto script = ReadWholeFile(scriptSource);
  if (!script.ok()) return {MakeError("", script.error().message)};
  auto choices = ReadWholeFile(choiceSource);
  if (!choices.ok()) return {MakeError("", choices.error().message)};
  CompiledScript compiled = CompileScript(
      *script, *choices, {scriptSource.filename().string(), choiceSource.filename().string()});
  if (!compiled.ok()) return compiled.findings;
  Status status = WriteOutput(outDir, "51.dat", compiled.script);
  if (status.ok()) status = WriteOutput(outDir, "52.dat", compiled.choices);
  if (!status.ok()) compiled.findings.push_back(MakeError("", status.error().message));
  return compiled.findings;
}

DecompiledScript DecompileScript(std::string_view script51, std::string_view choices52) {
  DecompiledScript result;
  auto script = Cp932ToSource(InvertBytes(script51), "51.dat", result.findings);
  auto choices = Cp932ToSource(InvertBytes(choices52), "52.dat", result.findings);
  if (script && choices) {
    result.script = std::move(*script);
    result.choices = std::move(*choices);
  }
  return result;
}

std::vector<Finding> DecompileDataFolder(const fs::path& dataDir, const fs::path& outDir) {
  auto script = ReadWholeFile(DataFile(dataDir, "51.dat"));
  if (!script.ok()) return {MakeError("", script.error().message)};
  auto choices = ReadWholeFile(DataFile(dataDir, "52.dat"));
  if (!choices.ok()) return {MakeError("", choices.error().message)};
  DecompiledScript decompiled = DecompileScript(*script, *choices);
  if (!decompiled.ok()) return decompiled.findings;
  Status status = WriteOutput(outDir, "script.csv", decompiled.script);
  if (status.ok()) status = WriteOutput(outDir, "choices.csv", decompiled.choices);
  if (!status.ok()) decompiled.findings.push_back(MakeError("", status.error().message));
  return decompiled.findings;
}

}  // namespace dovetail::tools
