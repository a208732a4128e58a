#pragma once

#include <memory>

#include "backends/glyphs/freetype/FreeTypeGlyphs.h"
#include "backends/hosts/headless/HeadlessHost.h"
#include "graphics/Effects.h"
#include "graphics/TextRenderer.h"
#include "screen/MainForm.h"
#include "screen/MessagePage.h"
#include "screen/SceneContext.h"
#include "storage/FolderPlayerFiles.h"
#include "storage/GamePaths.h"
#include "story/StoryState.h"
#include "support/RecordedEvents.h"

namespace dovetail::testing {

// What a scene context refers to, for tests that build one subsystem without
// a whole Game: a headless host, the main window, a fresh story, the text
// renderer, the transitions, the folders (empty until the test sets them)
// and the player's files in them
// and a sink that records every event.
struct SceneParts {
  HeadlessHost host;
  std::unique_ptr<TextRenderer> text = MakeFreeTypeTextRenderer().value();
  MainForm form{host};
  StoryState story;
  MessagePage page;
  RecordedEvents events;
  Effects effects{form.Mesh1, form.Mesh2, events};
  GamePaths paths;
  FolderPlayerFiles files = FolderPlayerFiles::GameFiles(paths);
  FolderPlayerFiles ownFiles = FolderPlayerFiles::OwnFiles(paths);
  SceneContext scene{host, form, story, page, *text, effects, paths, files, ownFiles};
};

}  // namespace dovetail::testing
