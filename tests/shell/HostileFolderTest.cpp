#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "backends/audio/silent/NullAudioOutput.h"
#include "backends/glyphs/freetype/FreeTypeGlyphs.h"
#include "backends/hosts/headless/HeadlessHost.h"
#include "base/Files.h"
#include "base/ProgramExit.h"
#include "graphics/BitmapFile.h"
#include "graphics/CursorFile.h"
#include "graphics/TextRenderer.h"
#include "minigame/RankingFile.h"
#include "shell/Game.h"
#include "shell/GameEvents.h"
#include "shell/Settings.h"
#include "sound/MidiFile.h"
#include "storage/DataFolder.h"
#include "support/Bytes.h"
#include "support/TestDataFolder.h"

namespace dovetail {
namespace {

namespace fs = std::filesystem;
using testing::TestDataFolder;

// What a hostile data file puts in the place of a good one.
enum class Form {
  Folder,
  Fifo,
  LinkOutOfTheFolder,
  HardLinkOutOfTheFolder,
  DevZero,
  SizeBomb,
  Empty
};

const char* NameOf(Form form) {
  switch (form) {
    case Form::Folder:
      return "folder";
    case Form::Fifo:
      return "FIFO";
    case Form::LinkOutOfTheFolder:
      return "link out of the folder";
    case Form::HardLinkOutOfTheFolder:
      return "hard link to a file out of the folder";
    case Form::DevZero:
      return "/dev/zero";
    case Form::SizeBomb:
      return "size bomb";
    case Form::Empty:
      return "empty file";
  }
  return "";
}

// What the program does with it.
enum class Outcome {
  Ends,            // start-up ends with a message naming the file
  Starts,          // the title screen comes
  StartsSilently,  // the title comes without music; the sound module names the file
  StartsUnranked,  // the title comes with an empty ranking table
};

// A picture of 16384 × 4096 pixels in a few bytes of RLE: the end mark alone.
std::string RleBomb(bool disguised) {
  testing::Bytes bmp;
  bmp.Raw(disguised ? "JF" : "BM").U32(14 + 40 + 8 + 2).U32(0).U32(14 + 40 + 8);
  bmp.U32(40).U32(16384).U32(4096).U16(1).U16(8).U32(kBiRle8).U32(2).U32(0).U32(0).U32(2).U32(0);
  bmp.U32(0x000000).U32(0xFFFFFF);
  bmp.U8(0).U8(1);
  return bmp.Text();
}

struct Kind {
  const char* file;
  uint64_t cap;  // a size bomb is one byte more (a sparse file), or the RLE bomb when 0
  Outcome link;  // with a symbolic or hard link to a file out of the folder
  Outcome empty;
  Outcome other;  // folder, FIFO, /dev/zero, size bomb
};

const Kind kKinds[] = {
    {"20.dat", kMaxSettingsFileBytes, Outcome::Starts, Outcome::Ends, Outcome::Ends},
    {"51.dat", kMaxScriptFileBytes, Outcome::Starts, Outcome::Ends, Outcome::Ends},
    {"52.dat", kMaxChoiceFileBytes, Outcome::Starts, Outcome::Starts, Outcome::Ends},
    // A disguised picture is written at start-up: a link of either kind is
    // refused.
    {"90.dat", 0, Outcome::Ends, Outcome::Ends, Outcome::Ends},
    {"91.dat", kMaxBitmapFileBytes, Outcome::Ends, Outcome::Ends, Outcome::Ends},
    {"P99.dat", 0, Outcome::Starts, Outcome::Ends, Outcome::Ends},
    {"select.cur", kMaxCursorFileBytes, Outcome::Starts, Outcome::Ends, Outcome::Ends},
    {"01.mid", kMaxMidiFileBytes, Outcome::Starts, Outcome::StartsSilently,
     Outcome::StartsSilently},
    {"30.dat", kMaxRankingFileBytes, Outcome::Starts, Outcome::StartsUnranked,
     Outcome::StartsUnranked},
};

// A copy of a good game folder, removed afterwards.
struct CaseFolder {
  explicit CaseFolder(const TestDataFolder& good)
      : root(good.root.parent_path() / (good.root.filename().string() + "-case")),
        data(root / "data") {
    fs::remove_all(root);
    fs::copy(good.root, root, fs::copy_options::recursive);
  }
  ~CaseFolder() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  fs::path root;
  fs::path data;
};

class HostileFolderTest : public ::testing::Test {
 protected:
  HostileFolderTest() : text(MakeFreeTypeTextRenderer().value()) {}

  // Puts `form` in the place of `kind.file`; a link leads to a copy of the
  // good file outside the data folder.
  void Plant(const CaseFolder& folder, const Kind& kind, Form form) {
    const fs::path path = folder.data / kind.file;
    const fs::path outside = folder.root / "outside";
    fs::create_directory(outside);
    fs::copy_file(path, outside / "target", fs::copy_options::overwrite_existing);
    fs::remove(path);
    switch (form) {
      case Form::Folder:
        fs::create_directory(path);
        break;
      case Form::Fifo:
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        break;
      case Form::LinkOutOfTheFolder:
        fs::create_symlink(outside / "target", path);
        break;
      case Form::HardLinkOutOfTheFolder:
        fs::create_hard_link(outside / "target", path);
        break;
      case Form::DevZero:
        fs::create_symlink("/dev/zero", path);
        break;
      case Form::SizeBomb:
        if (kind.cap == 0) {
          ASSERT_TRUE(ReplaceFileAtomically(path, RleBomb(std::string(kind.file) == "90.dat")));
        } else {
          ASSERT_TRUE(ReplaceFileAtomically(path, "JF"));
          fs::resize_file(path, kind.cap + 1);  // sparse: costs no disk
        }
        break;
      case Form::Empty:
        ASSERT_TRUE(ReplaceFileAtomically(path, ""));
        break;
    }
  }

  // The folder as it is while the program is not running, and nothing
  // written outside it.
  void ExpectAtRest(const CaseFolder& folder, const std::string& before) {
    for (const char* name : kPictureFiles) {
      const fs::path path = folder.data / name;
      if (fs::is_regular_file(fs::symlink_status(path)) && fs::file_size(path) >= 2) {
        EXPECT_EQ(testing::HeaderOf(path), "JF") << name;
      }
    }
    for (const auto& entry : fs::directory_iterator(folder.data)) {
      const std::string name = entry.path().filename().string();
      EXPECT_FALSE(name.starts_with(".") || entry.path().extension() == ".cod") << name;
    }
    const fs::path outside = folder.root / "outside";
    EXPECT_EQ(std::distance(fs::directory_iterator(outside), {}), 1);
    EXPECT_EQ(*ReadWholeFile(outside / "target"), before);
  }

  std::unique_ptr<TextRenderer> text;
};

TEST_F(HostileFolderTest, EveryKindOfDataFileInEveryHostileFormIsHandledAndLeavesTheFolderAtRest) {
  const TestDataFolder good("hostile");
  for (const Kind& kind : kKinds) {
    for (Form form : {Form::Folder, Form::Fifo, Form::LinkOutOfTheFolder,
                      Form::HardLinkOutOfTheFolder, Form::DevZero, Form::SizeBomb, Form::Empty}) {
      SCOPED_TRACE(std::string(kind.file) + " as " + NameOf(form));
      const CaseFolder folder(good);
      const std::string before = *ReadWholeFile(folder.data / kind.file);
      Plant(folder, kind, form);
      const bool linked = form == Form::LinkOutOfTheFolder || form == Form::HardLinkOutOfTheFolder;
      const Outcome expected = linked ? kind.link : form == Form::Empty ? kind.empty : kind.other;
      HeadlessHost host;
      IgnoredEvents events;
      const auto audio = MakeSilentAudio(host);
      Game game(host, *text, GamePaths::ForGameFolder(folder.root), *audio, events);
      int exitCode = -1;
      try {
        game.Start();
      } catch (const ProgramExit& exit) {
        exitCode = ExitStatus(exit.code);
      }
      if (expected == Outcome::Ends) {
        EXPECT_EQ(exitCode, 1);
        ASSERT_FALSE(host.MessageBoxes().empty());
        const std::string& message = host.MessageBoxes().back().request.text;
        EXPECT_NE(message.find(kind.file), std::string::npos) << message;
      } else {
        ASSERT_EQ(exitCode, -1) << host.MessageBoxes().back().request.text;
        EXPECT_EQ(game.Waiting(), WaitState::Title);
        EXPECT_TRUE(host.MessageBoxes().empty());
        if (expected == Outcome::StartsSilently) {
          ASSERT_TRUE(game.sound.LastError().has_value());
          EXPECT_NE(game.sound.LastError()->message.find(kind.file), std::string::npos);
        }
        if (expected == Outcome::StartsUnranked) {
          EXPECT_EQ(game.story.Ranking[1].Name, "");
        }
        EXPECT_THROW(game.Quit(), ProgramExit);
      }
      ExpectAtRest(folder, before);
    }
  }
}

}  // namespace
}  // namespace dovetail
