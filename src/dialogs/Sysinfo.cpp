#include "dialogs/Sysinfo.h"

#include "base/Cp932.h"
#include "base/Files.h"
#include "base/Utf8.h"

namespace dovetail {

namespace {

constexpr const char* kLineEnd = "\r\n";

bool IsX86(const std::string& architecture) {
  return architecture == "x86_64" || architecture == "i386" || architecture == "i486" ||
         architecture == "i586" || architecture == "i686" || architecture == "x86";
}

const char* ProcessorName(int32_t type) {
  switch (type) {
    case 386:
      return "(i386)";
    case 486:
      return "(i486)";
    case 586:
      return "(Celeron/Pentium)";
    case 686:
      return "(Pentium)";
    case 4000:
      return "(MIPS_R4000)";
    case 21064:
      return "(ALPHA_21064)";
    default:
      return "(unknown)";
  }
}

// A folder as the report writes it: ending in its separator.
std::string FolderText(const std::filesystem::path& folder) {
  std::string text = folder.string();
  if (text.empty() || text.back() != '/') text += '/';
  return text;
}

std::string CpuLine(const ProcessorFacts& cpu) {
  const int32_t type = ProcessorType(cpu);
  // The revision word: model in the high byte, stepping in the low one, read
  // as the report's signed 16-bit number (model 151, stepping 2: -26878).
  const int32_t revision = static_cast<int16_t>(
      static_cast<uint16_t>(((cpu.model & 0xFF) << 8) | (cpu.stepping & 0xFF)));
  std::string line = "CPU = " + cpu.architecture + "/" + std::to_string(type) + "/" +
                     std::to_string(cpu.family) + "/" + std::to_string(revision) + "/" +
                     ProcessorName(type);
  if (cpu.count != 0) line += "×" + std::to_string(cpu.count);
  return line;
}

std::string OsLine(const SystemFacts& system, const std::string& name) {
  return "OS = " + name + " ver:" + std::to_string(system.majorVersion) + "." +
         std::to_string(system.minorVersion) + "(" + Left(system.version, 20) +
         ") build:" + std::to_string(system.buildNumber);
}

std::string Bytes(uint64_t value) {
  return std::to_string(value) + "Bytes";
}

// CP932 of the text, with "?" for each character it cannot hold.
std::string ToCp932Lossy(std::string_view utf8) {
  std::string out;
  for (std::string_view character : Utf8Chars(utf8)) {
    Result<std::string> encoded = Utf8ToCp932(character);
    out += encoded.ok() ? *encoded : "?";
  }
  return out;
}

}  // namespace

SystemName NameOfSystem(int32_t platformId, int32_t major, int32_t minor) {
  switch (platformId) {
    case 0:
      return {"Windows 3.1", true};
    case 1:
      if (major < 4 || (major == 4 && minor == 0)) return {"Windows 95", true};
      if (major == 4 && minor > 80) return {"Windows ME", false};
      return {"Windows 98", false};
    case 2:
      if (major == 4) return {"Windows NT4.0", true};
      if (major == 5) return {"Windows 2000", false};
      return {};
    default:
      return {};
  }
}

int32_t ProcessorType(const ProcessorFacts& processor) {
  if (!IsX86(processor.architecture) || processor.family <= 0) return 0;
  return processor.family * 100 + 86;
}

SysReport BuildSysReport(Host& host, const GamePaths& paths) {
  SysReport report;
  const LocalDateTime now = host.LocalNow();
  const ScreenFacts screen = host.Screen();
  const SystemFacts system = host.System();
  const MemoryFacts memory = host.Memory();
  const SystemName name = NameOfSystem(kOtherPlatform, system.majorVersion, system.minorVersion);
  if (name.old) report.OldWindows = *name.old;
  report.ScreenBits = static_cast<int16_t>(screen.bitsPerPixel);
  report.MemoryLoad = static_cast<int16_t>(memory.loadPercent);

  const std::string lines[] = {
      now.date + " " + now.time,
      CpuLine(host.Processor()),
      "CRT = " + std::to_string(screen.width) + "*" + std::to_string(screen.height) + "(" +
          std::to_string(screen.bitsPerPixel) + "bits)",
      OsLine(system, name.name),
      "WINﾌｫﾙﾀﾞ = ",
      "ｼｽﾃﾑﾌｫﾙﾀﾞ = ",
      "app = " + FolderText(paths.BasePath),
      "data= " + FolderText(paths.DataPath),
      "総物理ﾒﾓﾘ      = " + Bytes(memory.totalPhysical),
      "空物理ﾒﾓﾘ      = " + Bytes(memory.availablePhysical),
      "総ﾍﾟｰｼﾞﾝｸﾞﾌｧｲﾙ = " + Bytes(memory.totalPageFile),
      "空ﾍﾟｰｼﾞﾝｸﾞﾌｧｲﾙ = " + Bytes(memory.availablePageFile),
      "総仮想ﾕｰｻﾞｰﾒﾓﾘ = " + Bytes(memory.totalVirtual),
      "空仮想ﾕｰｻﾞｰﾒﾓﾘ = " + Bytes(memory.availableVirtual),
      "ﾒﾓﾘ使用量      = " + std::to_string(memory.loadPercent) + "%",
  };
  for (const std::string& line : lines)
    report.text += line + kLineEnd;
  return report;
}

Status WriteSysLog(PlayerFiles& files, const SysReport& report) {
  return files.Replace(kSystemReportFile, ToCp932Lossy(report.text + kLineEnd));
}

}  // namespace dovetail
