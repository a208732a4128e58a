// dovetail-make-glyphs: the glyph table of a game for the browser build.
//
// The browser has no FreeType, so its text is drawn from glyphs this program
// renders with the desktop's own text renderer: every character of code page
// 932 in every font the game draws with. Which fonts those are is found by
// playing the game headless, with every route that together takes each
// branch of the story, each café outcome, and the comforts that draw text of
// their own (history, auto-advance mark, screenshot note); every font asked
// for on the way goes into the table.

#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>

#include "backends/glyphs/freetype/FreeTypeGlyphs.h"
#include "backends/glyphs/table/GlyphTable.h"
#include "base/Cp932.h"
#include "base/Files.h"
#include "base/Utf8.h"
#include "graphics/TextRenderer.h"
#include "programs/runner/HeadlessRunner.h"
#include "programs/runner/PlayFile.h"
#include "routes/Route.h"
#include "routes/RouteMap.h"
#include "storage/DataFolder.h"

namespace dovetail {
namespace {

// Passes glyphs through and notes every font asked for.
class RecordingGlyphs final : public GlyphSource {
 public:
  explicit RecordingGlyphs(GlyphSource& inner) : inner_(inner) {}
  GlyphFace& Face(const std::string& name, int32_t pixels, bool bold, bool italic) override {
    asked.insert({name, pixels, bold, italic});
    return inner_.Face(name, pixels, bold, italic);
  }
  std::set<TableFont> asked;

 private:
  GlyphSource& inner_;
};

// The comforts that draw text of their own: the history, the auto-advance
// mark and the screenshot note.
constexpr const char* kComfortsPlay =
    "until title\nclick 420 245\nuntil click-wait\nkey pageup\nkey escape\n"
    "key a\nwait 3000\nkey a\nkey f12\nwait 3000\n";

// Every character code page 932 has, as code points.
std::vector<char32_t> Cp932Characters() {
  std::vector<std::string> sequences;
  for (int single = 0x20; single <= 0xDF; ++single) {
    if (single < 0x7F || single >= 0xA1) sequences.push_back(std::string(1, char(single)));
  }
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail != 0x7F) sequences.push_back({char(lead), char(trail)});
    }
  }
  std::vector<char32_t> characters;
  for (const std::string& sequence : sequences) {
    auto text = Cp932ToUtf8(sequence);
    if (!text.ok() || text->empty()) continue;
    const char32_t codePoint = DecodeCodePoint(*text, 0);
    if (Utf8SequenceLength(*text, 0) == text->size() && codePoint != 0xFFFD)
      characters.push_back(codePoint);
  }
  return characters;
}

// Plays one run headless; false (told on standard error) when it fails.
bool Play(RunnerOptions options, TextRenderer& text, const std::string& what) {
  std::ostringstream log;
  HeadlessRunner runner(std::move(options), text, &log);
  const int code = runner.Run();
  if (code == 0) return true;
  std::cerr << "dovetail-make-glyphs: " << what << ": " << runner.Failure() << "\n";
  return false;
}

int Make(const std::filesystem::path& gameFolder, const std::filesystem::path& output) {
  auto fonts = FontMapping::Create();
  if (!fonts) {
    std::cerr << "dovetail-make-glyphs: " << fonts.error().message << "\n";
    return 2;
  }
  auto freeType = FreeTypeGlyphs::Create(std::move(*fonts));
  if (!freeType) {
    std::cerr << "dovetail-make-glyphs: " << freeType.error().message << "\n";
    return 2;
  }
  auto recording = std::make_unique<RecordingGlyphs>(**freeType);
  RecordingGlyphs& recorder = *recording;
  TextRenderer text(std::move(recording));

  const GamePaths paths = GamePaths::ForGameFolder(gameFolder);
  ScriptTables tables;
  if (Status loaded = LoadScript(paths.DataPath, tables, nullptr); !loaded.ok()) {
    std::cerr << "dovetail-make-glyphs: " << loaded.error().message << "\n";
    return 2;
  }
  const std::filesystem::path scratch =
      std::filesystem::temp_directory_path() / ("dovetail-make-glyphs-" + output.stem().string());
  RunnerOptions base;
  base.gameFolder = gameFolder;
  base.maxMs = 24 * 3'600'000;
  auto freshPlayer = [&] {
    std::filesystem::remove_all(scratch);
    std::filesystem::create_directories(scratch);
    PlayerFolderChoice player;
    player.saveDir = scratch;
    return player;
  };
  bool played = true;
  for (const MappedRoute& route : MapRoutes(tables).covering) {
    for (CafePolicy cafe : {CafePolicy::Perfect, CafePolicy::Idle}) {
      RunnerOptions options = base;
      options.playerFolder = freshPlayer();
      options.cafe = cafe;
      const std::string routeText =
          (route.story.start == StoryRoute::Start::Extra ? "first+" : "") +
          StoryRouteText(route.story);
      auto parsed = ParseRoute(routeText);
      if (!parsed) {
        std::cerr << "dovetail-make-glyphs: " << parsed.error().message << "\n";
        return 2;
      }
      AutoOptions autoPlay;
      autoPlay.route = std::move(*parsed);
      options.autoPlay = std::move(autoPlay);
      played &= Play(std::move(options), text, "route " + routeText);
    }
  }
  RunnerOptions comforts = base;
  comforts.playerFolder = freshPlayer();
  comforts.snapDir = scratch;
  comforts.play = *ParsePlayFile(kComfortsPlay, "comforts");
  played &= Play(std::move(comforts), text, "the comforts");
  std::filesystem::remove_all(scratch);
  if (!played) return 1;

  const std::vector<TableFont> used(recorder.asked.begin(), recorder.asked.end());
  const std::string table = WriteGlyphTable(**freeType, used, Cp932Characters());
  if (Status written = ReplaceFileAtomically(output, table); !written.ok()) {
    std::cerr << "dovetail-make-glyphs: " << written.error().message << "\n";
    return 2;
  }
  std::cout << "dovetail-make-glyphs: " << used.size() << " fonts, " << table.size() << " bytes in "
            << output.string() << "\n";
  for (const TableFont& font : used) {
    std::cout << "  " << font.name << " " << font.pixels << " px" << (font.bold ? " bold" : "")
              << (font.italic ? " italic" : "") << "\n";
  }
  return 0;
}

}  // namespace
}  // namespace dovetail

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: dovetail-make-glyphs GAME_FOLDER TABLE_FILE\n";
    return 2;
  }
  return dovetail::Make(argv[1], argv[2]);
}
