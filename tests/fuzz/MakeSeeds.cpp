// Writes the seed corpus of the fuzz targets: the files of the bundled demo
// folder and of the test data folder, decoded where the program decodes them,
// and small pictures in every depth and compression the decoder reads.
//
// usage: dovetail-fuzz-seeds DEMO_DATA_FOLDER CORPUS_FOLDER

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "backends/glyphs/freetype/FreeTypeGlyphs.h"
#include "backends/glyphs/table/GlyphTable.h"
#include "base/Files.h"
#include "graphics/BitmapFile.h"
#include "saves/SaveFile.h"
#include "sound/BuiltInSoundData.h"
#include "storage/DataFolder.h"
#include "support/Bytes.h"
#include "support/TestDataFolder.h"

namespace {

namespace fs = std::filesystem;
using dovetail::testing::Bytes;

// A bitmap file of `width` × `height` with the given depth, compression,
// colour table size, masks (bit fields) and stored pixel bytes.
std::string Bitmap(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                   uint32_t colours, const std::vector<uint32_t>& masks,
                   const std::string& pixels) {
  Bytes info;
  info.U32(40).U32(static_cast<uint32_t>(width)).U32(static_cast<uint32_t>(height)).U16(1);
  info.U16(bits).U32(compression).U32(static_cast<uint32_t>(pixels.size())).U32(3780).U32(3780);
  info.U32(colours).U32(0);
  for (uint32_t mask : masks)
    info.U32(mask);
  for (uint32_t i = 0; i < colours; ++i)
    info.U8(i * 37).U8(i * 91).U8(i * 13).U8(0);
  Bytes file;
  const uint32_t offset = 14 + static_cast<uint32_t>(info.Text().size());
  file.Raw("BM").U32(offset + static_cast<uint32_t>(pixels.size())).U32(0).U32(offset);
  return file.Raw(info.Text()).Raw(pixels).Text();
}

std::vector<std::string> SmallBitmaps() {
  const std::string rle8 = {4, 1, 0, 3, 5, 6, 7, 0, 0, 0, 2, 1, 1, 2, 3, 2, 0, 1};
  const std::string rle4 = {4, 0x12, 0, 3, 0x34, 0x50, 0, 0, 4, 0x67, 0, 1};
  return {
      Bitmap(4, 2, 1, dovetail::kBiRgb, 2, {}, std::string(8, '\x5A')),
      Bitmap(4, 2, 4, dovetail::kBiRgb, 16, {}, std::string(8, '\x1F')),
      Bitmap(4, 2, 8, dovetail::kBiRgb, 256, {}, std::string(8, '\x07')),
      Bitmap(4, -2, 24, dovetail::kBiRgb, 0, {}, std::string(24, '\x40')),
      Bitmap(2, 2, 16, dovetail::kBiBitfields, 0, {0xF800, 0x07E0, 0x001F}, std::string(8, 'x')),
      Bitmap(2, 2, 32, dovetail::kBiRgb, 0, {}, std::string(16, '\x7F')),
      Bitmap(6, 2, 8, dovetail::kBiRle8, 8, {}, rle8),
      Bitmap(6, 2, 4, dovetail::kBiRle4, 8, {}, rle4)};
}

void Write(const fs::path& folder, const std::string& name, const std::string& bytes) {
  fs::create_directories(folder);
  if (auto status = dovetail::ReplaceFileAtomically(folder / name, bytes); !status) {
    std::cerr << status.error().message << "\n";
  }
}

// The files of one data folder, decoded as the program decodes them.
void AddFolder(const fs::path& data, const fs::path& corpus, const std::string& tag) {
  auto read = [&](const std::string& name) {
    auto bytes = dovetail::ReadWholeFile(dovetail::DataFile(data, name));
    return bytes.ok() ? *bytes : std::string();
  };
  for (const auto& entry : fs::directory_iterator(data)) {
    const std::string name = entry.path().filename().string();
    std::string bytes = read(name);
    if (bytes.empty()) continue;
    const std::string seed = tag + "-" + name;
    if (entry.path().extension() == ".mid") {
      Write(corpus / "midi", seed, bytes);
    } else if (name == "select.cur") {
      Write(corpus / "cursor", seed, bytes);
    } else if (name == "20.dat") {
      Write(corpus / "settings", seed, bytes);
      Write(corpus / "fields", seed, bytes);
    } else if (name == "30.dat") {
      Write(corpus / "ranking", seed, bytes);
      Write(corpus / "fields", seed, bytes);
    } else if (name == "40.dat") {
      Write(corpus / "save", seed, bytes);
    } else if (name == "51.dat" || name == "52.dat") {
      Write(corpus / "fields", seed, dovetail::InvertBytes(bytes));
    } else if (bytes.size() <= 64 * 1024 && (bytes.starts_with("JF") || bytes.starts_with("BM"))) {
      bytes.replace(0, 2, "BM");  // the pictures as the decoder sees them
      Write(corpus / "bitmap", seed, bytes);
    }
  }
  const std::string script = dovetail::InvertBytes(read("51.dat"));
  const std::string choices = dovetail::InvertBytes(read("52.dat"));
  Write(corpus / "script", tag + "-tables", script + std::string(1, '\0') + choices);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: dovetail-fuzz-seeds DEMO_DATA_FOLDER CORPUS_FOLDER\n";
    return 2;
  }
  const fs::path corpus = argv[2];
  AddFolder(argv[1], corpus, "demo");
  {
    dovetail::testing::TestDataFolder fixture("fuzz-seeds");
    AddFolder(fixture.data, corpus, "fixture");
  }
  const std::vector<std::string> bitmaps = SmallBitmaps();
  for (size_t i = 0; i < bitmaps.size(); ++i)
    Write(corpus / "bitmap", "small-" + std::to_string(i), bitmaps[i]);
  for (int32_t id = 101; id <= 107; ++id) {
    const auto wave = dovetail::EffectSoundWave(id);
    Write(corpus / "wave", std::to_string(id) + ".wav",
          std::string(reinterpret_cast<const char*>(wave.data()), wave.size()));
  }
  // A glyph table of two small fonts and a few characters.
  if (auto fonts = dovetail::FontMapping::Create(); fonts.ok()) {
    if (auto glyphs = dovetail::FreeTypeGlyphs::Create(std::move(*fonts)); glyphs.ok()) {
      Write(corpus / "glyphs", "small.bin",
            dovetail::WriteGlyphTable(
                **glyphs, {{"ＭＳ ゴシック", 12, false, false}, {"ＭＳ Ｐゴシック", 9, true, true}},
                {U'A', U'g', U'あ', U'漢', U'｡'}));
    }
  }
  // A save of a story with names, counters and café logs.
  auto story = std::make_unique<dovetail::StoryState>();
  story->Names[1] = "桐原";
  story->Names[2] = "ほのか, \"様\"";
  story->CurLabel = 1059;
  story->StageNo = 5;
  story->cafe.TotalScore = -50;
  story->cafe.ServeLog[3][4] = 30000;
  story->cafe.DishLog[2][1] = 405;
  auto save = dovetail::FormatSave(*story);
  if (save.ok()) {
    Write(corpus / "save", "story", *save);
    Write(corpus / "fields", "story-save", *save);
  }
  return 0;
}
