#include "routes/Route.h"

#include <charconv>

namespace dovetail {

namespace {

constexpr std::string_view kExtra = "extra:";
constexpr std::string_view kLoad = "load:";
constexpr std::string_view kRandom = "random:";

template <typename Number>
bool ReadNumber(std::string_view text, Number& out) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

Result<StoryRoute> ParseStoryRoute(std::string_view text) {
  StoryRoute story;
  const std::string whole(text);
  if (text.starts_with(kExtra)) {
    story.start = StoryRoute::Start::Extra;
    text.remove_prefix(kExtra.size());
  } else if (text.starts_with(kLoad)) {
    story.start = StoryRoute::Start::Load;
    text.remove_prefix(kLoad.size());
  }
  if (text == "first") {
    story.picks = StoryRoute::Picks::First;
  } else if (text == "last") {
    story.picks = StoryRoute::Picks::Last;
  } else if (text.starts_with(kRandom)) {
    story.picks = StoryRoute::Picks::Random;
    if (!ReadNumber(text.substr(kRandom.size()), story.seed)) {
      return Error{"the route \"" + whole + "\" needs a whole number after \"random:\""};
    }
  } else if (text != "none") {
    while (true) {
      const size_t comma = text.find(',');
      int option = 0;
      if (!ReadNumber(text.substr(0, comma), option) || option < 1) {
        return Error{"the route \"" + whole +
                     "\" is not a comma list of option numbers from 1, \"none\", \"first\", "
                     "\"last\" or \"random:SEED\""};
      }
      story.list.push_back(option);
      if (comma == std::string_view::npos) break;
      text.remove_prefix(comma + 1);
    }
  }
  return story;
}

}  // namespace

Result<Route> ParseRoute(std::string_view text) {
  Route route;
  while (true) {
    const size_t plus = text.find('+');
    auto story = ParseStoryRoute(text.substr(0, plus));
    if (!story.ok()) return story.error();
    route.push_back(std::move(*story));
    if (plus == std::string_view::npos) return route;
    text.remove_prefix(plus + 1);
  }
}

std::string StoryRouteText(const StoryRoute& story) {
  std::string text;
  if (story.start == StoryRoute::Start::Extra) text = kExtra;
  if (story.start == StoryRoute::Start::Load) text = kLoad;
  switch (story.picks) {
    case StoryRoute::Picks::First:
      return text + "first";
    case StoryRoute::Picks::Last:
      return text + "last";
    case StoryRoute::Picks::Random:
      return text + std::string(kRandom) + std::to_string(story.seed);
    case StoryRoute::Picks::List:
      break;
  }
  if (story.list.empty()) return text + "none";
  for (size_t i = 0; i < story.list.size(); ++i)
    text += (i == 0 ? "" : ",") + std::to_string(story.list[i]);
  return text;
}

std::string RouteText(const Route& route) {
  std::string text;
  for (size_t i = 0; i < route.size(); ++i)
    text += (i == 0 ? "" : "+") + StoryRouteText(route[i]);
  return text;
}

}  // namespace dovetail
