#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "content/Finding.h"

namespace dovetail::tools {

// The names the findings give the two script files: "51.dat" and "52.dat"
// when checking a data folder, the source file names when compiling.
struct ScriptFileNames {
  std::string script = "51.dat";
  std::string choices = "52.dat";
};

// A picture file a script record asks for.
struct PictureUse {
  std::string file;  // e.g. "p09.dat" or "12.dat"
  int row = 0;
  int16_t label = 0;
};

// A face change of a script record: face `face` of character `character` in
// pose `pose`.
struct FaceUse {
  int character = 0;
  int pose = 0;
  int face = 0;
  int row = 0;
  int16_t label = 0;
};

// The text a script record shows in the message window.
struct MessageUse {
  std::string text;          // UTF-8, trimmed
  bool substitutes = false;  // "&" + digit stands for a name
  // The font size a "ts" record before it asked for (in the file's order);
  // 0: the base size.
  int16_t fontSize = 0;
  int row = 0;
  int16_t label = 0;
};

struct ScriptCheck {
  std::vector<Finding> findings;
  // True when the engine's own loader accepted both texts.
  bool loads = false;
  std::vector<PictureUse> pictures;  // first use of each file, in script order
  std::vector<FaceUse> faces;
  std::vector<MessageUse> messages;  // in script order
};

// Checks the decoded script (51.cod) and choice table (52.cod), both CP932
// text, the way the game will read and run them:
// - the game's loader (LoadScriptTables) must accept them: label texts,
//   CP932 text, table limits, non-empty choice targets;
// - every line holds exactly 13 (script) or 3 (choices) fields, since the
//   game reads one stream of fields and a miscounted line shifts every record
//   after it; an empty line in the middle is one such line;
// - labels rise from one run of records to the next (the label search
//   halves the table);
// - every jump target and every choice target is a label;
// - every "s" record names 1 to 6 choices and owns that many contiguous
//   choice entries;
// - save points ("g2") sit on four-digit labels, first in their label run;
// - commands, speakers, picture fields, face numbers and name placeholders
//   hold what the interpreter can use.
ScriptCheck CheckScriptTexts(std::string_view scriptCp932, std::string_view choicesCp932,
                             const ScriptFileNames& names);

// The file name of background number `number`: "p" + the last two characters
// of "0" + number + ".dat" (5 → "p05.dat", 12 → "p12.dat").
std::string BackgroundFileName(int number);

}  // namespace dovetail::tools
