#pragma once

#include "graphics/Effects.h"
#include "graphics/TextRenderer.h"
#include "host/Host.h"
#include "screen/MainForm.h"
#include "screen/MessagePage.h"
#include "storage/GamePaths.h"
#include "storage/PlayerFiles.h"
#include "story/StoryState.h"

namespace dovetail {

// What every part of the story screen works with: the machine, the main
// window and its controls, the story's state and message page, the text
// renderer, the screen transitions, the game's folders and the player's files
// (the game's and our own). What each part reports goes to the sink of its
// own events, given to it beside the context. One run has one; each subsystem is built from
// it (and whatever else it alone needs) and keeps a copy. Every reference must outlive the
// subsystems built from it.
struct SceneContext {
  Host& host;
  MainForm& form;
  StoryState& story;
  MessagePage& page;
  TextRenderer& text;
  Effects& effects;
  const GamePaths& paths;
  PlayerFiles& files;
  PlayerFiles& ownFiles;
};

}  // namespace dovetail
