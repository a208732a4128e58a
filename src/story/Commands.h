#pragma once

#include <string>
#include <string_view>

namespace dovetail {

// The script's commands, described once: by its first letter, the variants a
// command acts on (its last character), the variants that need a jump
// target, and the message the game shows for a variant it does not know
// ("error(X?):" and the record's label). The interpreter, the counters'
// commands, the content check and the route walker all read this table.
// What a command does, for the interpreter's dispatch.
enum class CommandKind {
  Game,       // g: jump, stage, save, café stage, name entry
  Sound,      // a: music and effects
  Choices,    // s
  Count,      // p: story counters
  Test,       // i: grade and counter tests
  Compare,    // d: stage comparisons
  Reserved,   // c
  TextMode,   // t
  PageBreak,  // r
  Wait,       // w
  Ending,     // e: the story ends in its ending
  Quit,       // q: the program ends
};

struct CommandRule {
  char letter = 0;
  CommandKind kind = CommandKind::Game;
  std::string_view what;          // in the content check's words
  std::string_view variants;      // the last characters acted on; empty: any
  std::string_view jumpVariants;  // variants that jump (need a target label)
  char errorLetter = 0;           // the letter of "error(X?):"; 0: none is shown
};

inline constexpr CommandRule kCommandRules[] = {
    {'g', CommandKind::Game, "the game command", "012349", "0", 0},
    {'a', CommandKind::Sound, "the sound command", "", "", 0},
    {'s', CommandKind::Choices, "the choice", "", "", 0},
    {'p', CommandKind::Count, "the counter command", "012789", "", 'p'},
    {'i', CommandKind::Test, "the test", "012", "01", 'i'},
    {'d', CommandKind::Compare, "the stage comparison", "012349", "012349", 'd'},
    // The reserved commands report themselves with the test's letter.
    {'c', CommandKind::Reserved, "the reserved command", "012", "", 'i'},
    {'t', CommandKind::TextMode, "the text mode", "", "", 0},
    {'r', CommandKind::PageBreak, "the page break", "", "", 0},
    {'w', CommandKind::Wait, "the wait", "", "", 0},
    {'e', CommandKind::Ending, "the ending", "", "", 0},
    {'q', CommandKind::Quit, "the quit", "", "", 0},
};

// The rule of a command (by its first letter); null for a record whose
// command is no command (its text is shown).
const CommandRule* FindCommandRule(std::string_view command);

// True when the command's variant is one its rule acts on.
bool KnownVariant(const CommandRule& rule, std::string_view command);

// True when the command jumps and so needs a target label.
bool NeedsJumpTarget(std::string_view command);

// The message shown for a variant the rule does not act on, before the
// record's label ("error(p?):"); empty when the rule shows none.
std::string UnknownVariantText(const CommandRule& rule);

}  // namespace dovetail
