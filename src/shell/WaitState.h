#pragma once

#include <string_view>

namespace dovetail {

// What the program waits for, for the drivers of headless runs: nothing
// (busy, or ending), the title menu, the click-wait after a message, a
// choice, a dialog of its own, a café customer who waits to be served, or
// the ranking screen with its exit button.
enum class WaitState { Busy, Title, ClickWait, Choice, Dialog, Customer, Ranking };

// The state's name in play files ("until title"); empty while busy.
constexpr std::string_view WaitStateName(WaitState state) {
  switch (state) {
    case WaitState::Busy:
      return "";
    case WaitState::Title:
      return "title";
    case WaitState::ClickWait:
      return "click-wait";
    case WaitState::Choice:
      return "choice";
    case WaitState::Dialog:
      return "dialog";
    case WaitState::Customer:
      return "customer";
    case WaitState::Ranking:
      return "ranking";
  }
  return "";
}

}  // namespace dovetail
