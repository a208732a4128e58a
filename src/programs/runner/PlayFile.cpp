#include "programs/runner/PlayFile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>

#include "base/Utf8.h"
#include "host/Input.h"

namespace dovetail {

namespace {

struct CommandName {
  std::string_view word;
  PlayCommand::Kind kind;
};

constexpr CommandName kCommands[] = {
    {"wait", PlayCommand::Kind::Wait},   {"until", PlayCommand::Kind::Until},
    {"click", PlayCommand::Kind::Click}, {"rclick", PlayCommand::Kind::RClick},
    {"move", PlayCommand::Kind::Move},   {"key", PlayCommand::Kind::Key},
    {"menu", PlayCommand::Kind::Menu},   {"answer", PlayCommand::Kind::Answer},
    {"type", PlayCommand::Kind::Type},   {"press", PlayCommand::Kind::Press},
    {"close", PlayCommand::Kind::Close}, {"snap", PlayCommand::Kind::Snap},
    {"serve", PlayCommand::Kind::Serve}, {"serve-wrong", PlayCommand::Kind::ServeWrong},
    {"wheel", PlayCommand::Kind::Wheel},
};

bool ParseInt(std::string_view text, int32_t& out) {
  const auto* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && ptr == end;
}

}  // namespace

int16_t KeyCodeOf(std::string_view name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (lower == "space") return 32;
  if (lower == "enter" || lower == "return") return 13;
  if (lower == "escape" || lower == "esc") return 27;
  if (lower == "left") return kKeyLeft;
  if (lower == "up") return kKeyUp;
  if (lower == "right") return kKeyRight;
  if (lower == "down") return kKeyDown;
  if (lower == "pageup") return kKeyPageUp;
  if (lower == "pagedown") return kKeyPageDown;
  if (lower == "f12") return kKeyF12;
  if (lower == "ctrl" || lower == "ctrl-down") return kKeyControl;
  if (lower.size() == 1 && std::isalnum(static_cast<unsigned char>(lower[0]))) {
    return static_cast<int16_t>(std::toupper(static_cast<unsigned char>(lower[0])));
  }
  return 0;
}

bool PlaysCafe(const std::vector<PlayCommand>& commands) {
  return std::any_of(commands.begin(), commands.end(), [](const PlayCommand& c) {
    return c.kind == PlayCommand::Kind::Serve || c.kind == PlayCommand::Kind::ServeWrong ||
           (c.kind == PlayCommand::Kind::Until && c.argument == "customer");
  });
}

Result<std::vector<PlayCommand>> ParsePlayFile(std::string_view text, const std::string& name) {
  std::vector<PlayCommand> commands;
  std::istringstream lines{std::string(text)};
  std::string raw;
  int lineNo = 0;
  while (std::getline(lines, raw)) {
    ++lineNo;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    const std::string_view line = TrimBlanks(raw);
    if (line.empty() || line[0] == '#') continue;
    auto fail = [&](const std::string& what) {
      return Error{name + ", line " + std::to_string(lineNo) + ": " + what};
    };
    const size_t space = line.find(' ');
    const std::string_view word = line.substr(0, space);
    const std::string_view rest =
        space == std::string_view::npos ? std::string_view{} : TrimBlanks(line.substr(space + 1));
    const auto* found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                     [&](const CommandName& c) { return c.word == word; });
    if (found == std::end(kCommands)) return fail("unknown command \"" + std::string(word) + "\"");

    PlayCommand command;
    command.kind = found->kind;
    command.line = lineNo;
    command.argument = std::string(rest);
    switch (command.kind) {
      case PlayCommand::Kind::Wait:
        if (!ParseInt(rest, command.ms) || command.ms < 0) {
          return fail("wait needs a number of milliseconds");
        }
        break;
      case PlayCommand::Kind::Until:
        if (std::find(std::begin(kPlayStates), std::end(kPlayStates), rest) ==
            std::end(kPlayStates)) {
          return fail(
              "until needs one of title, click-wait, choice, dialog, message-box, customer");
        }
        break;
      case PlayCommand::Kind::Click:
      case PlayCommand::Kind::RClick:
      case PlayCommand::Kind::Move: {
        const size_t gap = rest.find(' ');
        if (gap == std::string_view::npos || !ParseInt(rest.substr(0, gap), command.x) ||
            !ParseInt(TrimBlanks(rest.substr(gap + 1)), command.y)) {
          return fail(std::string(word) + " needs X and Y");
        }
        break;
      }
      case PlayCommand::Kind::Key:
        if (rest == "ctrl-up") {
          command.kind = PlayCommand::Kind::KeyUp;
          command.keyCode = kKeyControl;
          break;
        }
        command.keyCode = KeyCodeOf(rest);
        if (command.keyCode == 0) return fail("unknown key \"" + std::string(rest) + "\"");
        break;
      case PlayCommand::Kind::Wheel:
        if (rest != "up" && rest != "down") return fail("wheel needs up or down");
        command.wheel = rest == "up" ? 1 : -1;
        break;
      case PlayCommand::Kind::KeyUp:
        break;
      case PlayCommand::Kind::Answer:
        if (rest != "ok" && rest != "cancel") return fail("answer needs ok or cancel");
        break;
      case PlayCommand::Kind::Menu:
      case PlayCommand::Kind::Press:
      case PlayCommand::Kind::Snap:
        if (rest.empty()) return fail(std::string(word) + " needs a name");
        break;
      case PlayCommand::Kind::Serve:
      case PlayCommand::Kind::ServeWrong:
        if (!rest.empty()) return fail(std::string(word) + " takes no argument");
        break;
      case PlayCommand::Kind::Type:
      case PlayCommand::Kind::Close:
        break;
    }
    commands.push_back(std::move(command));
  }
  return commands;
}

}  // namespace dovetail
