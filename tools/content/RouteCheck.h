#pragma once

#include <string>
#include <vector>

#include "content/Finding.h"

namespace dovetail::tools {

// The story's routes from the title, walked by the game's own interpreter
// over the decoded script and choice table (CP932 text, as the loader takes
// them): a warning for each label no route reaches, an error for each content
// error, stop or loop a route meets (each once, with its label). `file` names
// the script in the findings. Nothing when the tables do not load (the
// script check says why).
std::vector<Finding> CheckRoutes(const std::string& scriptCp932, const std::string& choicesCp932,
                                 const std::string& file);

}  // namespace dovetail::tools
