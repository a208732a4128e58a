#include "story/Commands.h"

namespace dovetail {

const CommandRule* FindCommandRule(std::string_view command) {
  if (command.empty()) return nullptr;
  for (const CommandRule& rule : kCommandRules) {
    if (rule.letter == command.front()) return &rule;
  }
  return nullptr;
}

bool KnownVariant(const CommandRule& rule, std::string_view command) {
  return rule.variants.empty() ||
         (!command.empty() && rule.variants.find(command.back()) != std::string_view::npos);
}

bool NeedsJumpTarget(std::string_view command) {
  const CommandRule* rule = FindCommandRule(command);
  return rule != nullptr && rule->jumpVariants.find(command.back()) != std::string_view::npos;
}

std::string UnknownVariantText(const CommandRule& rule) {
  if (rule.errorLetter == 0) return {};
  return std::string("error(") + rule.errorLetter + "?):";
}

}  // namespace dovetail
