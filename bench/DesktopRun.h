#pragma once

// Runs the desktop program `dovetail` for the start-up and idle benchmarks: on
// a fresh copy of a game folder's data, with its start-up report switched on,
// reading the report's lines from its standard error as they arrive.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace bench {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

inline double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A window system to open the window on: an X display or Qt's offscreen one.
inline bool HasWindowSystem() {
  return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr ||
         std::getenv("QT_QPA_PLATFORM") != nullptr;
}

// The figures of a process and all its threads, from /proc.
struct ProcessFigures {
  double cpuMs = 0;     // user and system time
  long switches = 0;    // context switches of every thread (its wake-ups)
  long residentKb = 0;  // VmRSS
};

inline ProcessFigures ReadFigures(pid_t pid) {
  ProcessFigures figures;
  const fs::path proc = "/proc/" + std::to_string(pid);
  std::ifstream stat(proc / "stat");
  std::string text((std::istreambuf_iterator<char>(stat)), {});
  // Fields after the command name, which is in parentheses and may hold blanks.
  std::istringstream rest(text.substr(text.rfind(')') + 2));
  std::vector<std::string> fields;
  for (std::string field; rest >> field;)
    fields.push_back(field);
  if (fields.size() > 12) {
    const double tick = 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
    figures.cpuMs = (std::stod(fields[11]) + std::stod(fields[12])) * tick;
  }
  std::error_code ec;
  for (const auto& task : fs::directory_iterator(proc / "task", ec)) {
    std::ifstream status(task.path() / "status");
    for (std::string line; std::getline(status, line);) {
      if (line.find("voluntary_ctxt_switches:") != std::string::npos)
        figures.switches += std::atol(line.substr(line.find(':') + 1).c_str());
    }
  }
  std::ifstream status(proc / "status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) figures.residentKb = std::atol(line.c_str() + 6);
  }
  return figures;
}

// One run of `dovetail --report-startup` on a copy of `data`.
class DesktopRun {
 public:
  DesktopRun(const fs::path& program, const fs::path& data, const std::vector<std::string>& args,
             const std::map<std::string, std::string>& environment = {})
      : folder_(fs::temp_directory_path() /
                ("dovetail-bench-desktop-" + std::to_string(getpid()))) {
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    fs::copy(data, folder_ / "data", fs::copy_options::recursive);
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return;
    std::vector<std::string> argv = {program.string(), "--game", folder_.string(),
                                     "--report-startup"};
    argv.insert(argv.end(), args.begin(), args.end());
    started_ = Clock::now();
    pid_ = fork();
    if (pid_ == 0) {
      dup2(pipeEnds[1], STDERR_FILENO);
      close(pipeEnds[0]);
      close(pipeEnds[1]);
      for (const auto& [name, value] : environment)
        setenv(name.c_str(), value.c_str(), 1);
      std::vector<char*> raw;
      for (std::string& arg : argv)
        raw.push_back(arg.data());
      raw.push_back(nullptr);
      execv(raw[0], raw.data());
      _exit(127);
    }
    close(pipeEnds[1]);
    errors_ = pipeEnds[0];
  }

  ~DesktopRun() {
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    if (errors_ >= 0) close(errors_);
    fs::remove_all(folder_);
  }
  DesktopRun(const DesktopRun&) = delete;
  DesktopRun& operator=(const DesktopRun&) = delete;

  pid_t Pid() const { return pid_; }

  // Reads the report until the line "dovetail: startup NAME ..." arrives;
  // returns its words after NAME, or nothing when the program ended first or
  // `timeoutMs` passed. Every moment's arrival is kept in Arrivals().
  std::optional<std::vector<std::string>> WaitFor(const std::string& name, int timeoutMs = 30000) {
    const Clock::time_point begin = Clock::now();
    for (;;) {
      if (auto words = TakeLine(name)) return words;
      const int left = timeoutMs - static_cast<int>(MsSince(begin));
      if (left <= 0 || errors_ < 0) return std::nullopt;
      pollfd wait{errors_, POLLIN, 0};
      if (poll(&wait, 1, left) <= 0) continue;
      char chunk[4096];
      const ssize_t got = read(errors_, chunk, sizeof chunk);
      if (got <= 0) {
        close(errors_);
        errors_ = -1;
        continue;
      }
      const double at = MsSince(started_);
      for (ssize_t i = 0; i < got; ++i) {
        if (chunk[i] != '\n') {
          partial_ += chunk[i];
          continue;
        }
        lines_.push_back(partial_);
        std::istringstream words(partial_);
        std::string program, kind, moment;
        if (words >> program >> kind >> moment && kind == "startup") arrivals_[moment] = at;
        partial_.clear();
      }
    }
  }

  // Milliseconds from the fork before exec to each moment's line arriving.
  const std::map<std::string, double>& Arrivals() const { return arrivals_; }
  // Every line the program wrote to its standard error so far.
  const std::vector<std::string>& Lines() const { return lines_; }

  // Waits for the program to end; its exit status.
  int Wait() {
    int status = 0;
    waitpid(pid_, &status, 0);
    exited_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  std::optional<std::vector<std::string>> TakeLine(const std::string& name) {
    for (const std::string& line : lines_) {
      std::istringstream words(line);
      std::string program, kind, moment;
      if (!(words >> program >> kind >> moment) || kind != "startup" || moment != name) continue;
      std::vector<std::string> rest;
      for (std::string word; words >> word;)
        rest.push_back(word);
      return rest;
    }
    return std::nullopt;
  }

  fs::path folder_;
  pid_t pid_ = -1;
  bool exited_ = false;
  int errors_ = -1;
  Clock::time_point started_;
  std::string partial_;
  std::vector<std::string> lines_;
  std::map<std::string, double> arrivals_;
};

}  // namespace bench
