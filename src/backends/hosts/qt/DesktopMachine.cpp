#include "backends/hosts/qt/DesktopMachine.h"

#include <sys/resource.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <QDateTime>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QSysInfo>
#include <QUrl>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace dovetail {

namespace {

// One "Name: N kB" figure of /proc/meminfo, in bytes.
std::optional<uint64_t> MemInfoBytes(const std::string& name) {
  std::ifstream in("/proc/meminfo");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(name + ":", 0) != 0) continue;
    std::istringstream fields(line.substr(name.size() + 1));
    uint64_t kib = 0;
    if (fields >> kib) return kib * 1024;
    return std::nullopt;
  }
  return std::nullopt;
}

// The program's own address space in use, from /proc/self/statm (pages).
uint64_t AddressSpaceInUse() {
  std::ifstream in("/proc/self/statm");
  uint64_t pages = 0;
  if (!(in >> pages)) return 0;
  return pages * static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
}

// The largest user address space of the machine: the limit set for the
// program, else what a 64-bit (47-bit user half) or 32-bit process can reach.
uint64_t AddressSpaceLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
    return static_cast<uint64_t>(limit.rlim_cur);
  }
  return sizeof(void*) == 8 ? (uint64_t{1} << 47) : (uint64_t{1} << 31);
}

}  // namespace

LocalDateTime ReadLocalNow() {
  // The Japanese short date and long time, whatever the desktop's locale: the
  // game's texts are Japanese, and the café's result lines keep this form.
  const QDateTime now = QDateTime::currentDateTime();
  return {now.date().toString(QStringLiteral("yyyy/MM/dd")).toStdString(),
          now.time().toString(QStringLiteral("H:mm:ss")).toStdString()};
}

ScreenFacts ReadScreen(const QScreen* screen) {
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  const QRect area = screen->geometry();
  return {area.width(), area.height(), screen->depth()};
}

MemoryFacts ReadMemory() {
  MemoryFacts facts;
  struct sysinfo info {};
  if (sysinfo(&info) == 0) {
    const uint64_t unit = info.mem_unit == 0 ? 1 : info.mem_unit;
    facts.totalPhysical = static_cast<uint64_t>(info.totalram) * unit;
    facts.availablePhysical = static_cast<uint64_t>(info.freeram) * unit;
    facts.totalPageFile = static_cast<uint64_t>(info.totalswap) * unit;
    facts.availablePageFile = static_cast<uint64_t>(info.freeswap) * unit;
  }
  // Free memory alone leaves out the caches the kernel gives back at once.
  if (auto available = MemInfoBytes("MemAvailable")) facts.availablePhysical = *available;
  if (facts.availablePhysical > facts.totalPhysical) facts.availablePhysical = facts.totalPhysical;
  if (facts.totalPhysical > 0) {
    facts.loadPercent = static_cast<uint32_t>((facts.totalPhysical - facts.availablePhysical) *
                                              100 / facts.totalPhysical);
  }
  facts.totalVirtual = AddressSpaceLimit();
  const uint64_t used = AddressSpaceInUse();
  facts.availableVirtual = used < facts.totalVirtual ? facts.totalVirtual - used : 0;
  return facts;
}

SystemFacts ReadSystem() {
  SystemFacts facts;
  facts.name = QSysInfo::prettyProductName().toStdString();
  facts.version = QSysInfo::kernelVersion().toStdString();
  // "6.1.0-13-amd64": major 6, minor 1, build 0.
  int32_t* numbers[] = {&facts.majorVersion, &facts.minorVersion, &facts.buildNumber};
  std::istringstream version(facts.version);
  for (int32_t* number : numbers) {
    if (!(version >> *number)) break;
    if (version.peek() != '.') break;
    version.get();
  }
  return facts;
}

ProcessorFacts ReadProcessor() {
  ProcessorFacts facts;
  utsname name{};
  if (uname(&name) == 0) facts.architecture = name.machine;
  // "cpu family\t: 6": the first processor's figures; the later ones repeat them.
  std::ifstream in("/proc/cpuinfo");
  std::string line;
  bool found[3] = {false, false, false};
  const std::pair<const char*, int32_t*> fields[] = {
      {"cpu family", &facts.family}, {"model", &facts.model}, {"stepping", &facts.stepping}};
  while (std::getline(in, line)) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string key = line.substr(0, colon);
    while (!key.empty() && (key.back() == ' ' || key.back() == '\t'))
      key.pop_back();
    for (size_t i = 0; i < std::size(fields); ++i) {
      if (found[i] || key != fields[i].first) continue;
      std::istringstream value(line.substr(colon + 1));
      found[i] = static_cast<bool>(value >> *fields[i].second);
    }
  }
  const long online = sysconf(_SC_NPROCESSORS_ONLN);
  facts.count = online > 0 ? static_cast<int32_t>(online) : 0;
  return facts;
}

bool OpenLinkOnDesktop(const std::string& url) {
  return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

}  // namespace dovetail
