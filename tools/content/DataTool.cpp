#include "content/DataTool.h"

#include "content/DataCheck.h"
#include "content/Finding.h"
#include "content/ScriptSource.h"

namespace dovetail::tools {

const char* const kDataToolUsage =
    "usage: dovetail-data compile SCRIPT.csv CHOICES.csv OUTDIR\n"
    "       dovetail-data decompile DATADIR OUTDIR\n"
    "       dovetail-data check DATADIR\n"
    "\n"
    "compile    makes OUTDIR/51.dat and OUTDIR/52.dat from the readable script\n"
    "           (UTF-8, 13 columns a row; heading rows with \"num\" in column 1 are kept)\n"
    "           and choice table (UTF-8, 3 columns: owner label, text, target label).\n"
    "           The text is converted to Shift_JIS (CP932), line ends become CR LF\n"
    "           (the last line gets one too), a UTF-8 byte-order mark is dropped, and\n"
    "           every byte is inverted.\n"
    "           The script is checked as `check` checks it; on an error nothing is written.\n"
    "decompile  writes OUTDIR/script.csv and OUTDIR/choices.csv (UTF-8) from the\n"
    "           data folder's 51.dat and 52.dat; it gives back a compiled source byte for\n"
    "           byte when every line of that source ended in CR LF.\n"
    "check      checks a data folder: the file set, the settings, the ranking, every\n"
    "           picture, the music, the cursor, and the script with its choices; it\n"
    "           warns about labels no route from the title reaches, message lines\n"
    "           wider than the message window, and pictures or music nothing uses.\n"
    "\n"
    "Findings are printed one a line: \"error:\" or \"warning:\", the file, the row and\n"
    "the label where there is one, then what is wrong.\n"
    "Exit status: 0 without errors (warnings alone do not fail), 1 with errors,\n"
    "2 for a usage error.\n";

namespace {

int Report(const std::vector<Finding>& findings, std::ostream& out, std::ostream& err,
           const std::string& done) {
  for (const Finding& finding : findings)
    out << FormatFinding(finding) << '\n';
  const size_t errors = CountErrors(findings);
  const size_t warnings = CountWarnings(findings);
  err << "dovetail-data: " << (errors == 0 ? done : "failed") << " (" << errors
      << (errors == 1 ? " error, " : " errors, ") << warnings
      << (warnings == 1 ? " warning)" : " warnings)") << '\n';
  return errors == 0 ? kToolOk : kToolFindings;
}

int Usage(std::ostream& err, const std::string& problem) {
  if (!problem.empty()) err << "dovetail-data: " << problem << "\n\n";
  err << kDataToolUsage;
  return kToolUsage;
}

}  // namespace

int RunDataTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) return Usage(err, "no command given");
  const std::string& command = args[0];
  const size_t operands = args.size() - 1;
  if (command == "-h" || command == "--help" || command == "help") {
    out << kDataToolUsage;
    return kToolOk;
  }
  if (command == "compile") {
    if (operands != 3) return Usage(err, "compile takes SCRIPT.csv CHOICES.csv OUTDIR");
    return Report(CompileScriptFiles(args[1], args[2], args[3]), out, err,
                  "wrote " + args[3] + "/51.dat and 52.dat");
  }
  if (command == "decompile") {
    if (operands != 2) return Usage(err, "decompile takes DATADIR OUTDIR");
    return Report(DecompileDataFolder(args[1], args[2]), out, err,
                  "wrote " + args[2] + "/script.csv and choices.csv");
  }
  if (command == "check") {
    if (operands != 1) return Usage(err, "check takes DATADIR");
    return Report(CheckDataFolder(args[1]), out, err, "checked " + args[1]);
  }
  return Usage(err, "unknown command \"" + command + "\"");
}

}  // namespace dovetail::tools
