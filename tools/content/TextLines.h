#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace dovetail::tools {

// One line of a text file: its 1-based number, its content and the line end
// that closed it (CR LF, LF, CR, or empty for a last line without one).
struct TextLine {
  int number = 0;
  std::string_view content;
  std::string_view ending;
};

// The lines of `text`, split at CR LF, LF and CR as the engine's field reader
// splits them.
std::vector<TextLine> SplitLines(std::string_view text);

// True when the line holds nothing but blanks.
bool IsBlankLine(std::string_view content);

// The fields of one line, read with the engine's field reader (so quoting and
// blanks follow the game's own input rules). The game reads its files as one
// stream of fields, so a line with too many or too few fields shifts every
// record after it; counting the fields of each line shows where that starts.
std::vector<std::string> LineFields(std::string_view content);

// `text` with every line end made CR LF, the form of the game's text files.
// A last line without a line end stays without one.
std::string WithCrLf(std::string_view text);

}  // namespace dovetail::tools
