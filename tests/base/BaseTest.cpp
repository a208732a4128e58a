#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "base/Cp932.h"
#include "base/FieldReader.h"
#include "base/Files.h"
#include "base/Numbers.h"
#include "base/Utf8.h"

namespace dovetail {
namespace {

TEST(Cp932, RoundTripsTheCharactersPlainShiftJisGetsWrong) {
  // ～ (wave dash as CP932 maps it), － (full-width minus), ① and a backslash.
  const std::string text = "\xEF\xBD\x9E\xEF\xBC\x8D\xE2\x91\xA0\\abc桐原";
  auto encoded = Utf8ToCp932(text);
  ASSERT_TRUE(encoded.ok()) << encoded.error().message;
  EXPECT_EQ(encoded->substr(0, 6), "\x81\x60\x81\x7C\x87\x40");
  EXPECT_EQ((*encoded)[6], '\\');
  auto decoded = Cp932ToUtf8(*encoded);
  ASSERT_TRUE(decoded.ok());
  EXPECT_EQ(*decoded, text);
}

TEST(Cp932, ReportsWhatCannotBeConverted) {
  auto encoded = Utf8ToCp932("ok \xF0\x9F\x98\x80");  // an emoji
  ASSERT_FALSE(encoded.ok());
  EXPECT_NE(encoded.error().message.find("\xF0\x9F\x98\x80"), std::string::npos);
  auto decoded = Cp932ToUtf8("ab\x81");  // a lead byte without its second byte
  ASSERT_FALSE(decoded.ok());
  EXPECT_NE(decoded.error().message.find("offset 2"), std::string::npos);
}

TEST(Cp932, AnsiLenCountsBytesOfTheCodePage) {
  EXPECT_EQ(AnsiLen(""), 0);
  EXPECT_EQ(AnsiLen("abc"), 3);
  EXPECT_EQ(AnsiLen("桐原"), 4);
  EXPECT_EQ(AnsiLen("ｽｷｯﾌﾟ"), 5);  // half-width katakana: one byte each
  EXPECT_EQ(AnsiLen("【ほのか】"), 10);
  EXPECT_EQ(AnsiLen("\xF0\x9F\x98\x80"), 1);  // unencodable: the '?' put in its place
}

TEST(Utf8, CharacterPositionsCountCharacters) {
  EXPECT_EQ(CharCount("桐原　ほのか"), 6u);
  EXPECT_EQ(Mid("桐原　ほのか", 4), "ほのか");
  EXPECT_EQ(Mid("桐原　ほのか", 2, 1), "原");
  EXPECT_EQ(Left("kaimon", 3), "kai");
  EXPECT_EQ(Right("kaimon", 3), "mon");
  EXPECT_EQ(Right("5", 3), "5");
  EXPECT_EQ(Mid("abc", 10), "");
  EXPECT_EQ(TrimBlanks("  a b \t"), "a b");
  // A stray byte is one character and never read past.
  EXPECT_EQ(CharCount("a\xE6"), 2u);
}

std::vector<std::string> ReadAll(FieldReader& reader) {
  std::vector<std::string> fields;
  while (!reader.AtEnd()) {
    auto field = reader.Next();
    EXPECT_TRUE(field.ok());
    fields.push_back(*field);
  }
  return fields;
}

TEST(FieldReader, FollowsTheOriginalInputRules) {
  struct Case {
    const char* text;
    std::vector<std::string> fields;
  };
  const Case cases[] = {
      {"a,b,c\r\n", {"a", "b", "c"}},
      {"  a ,\tb\r\n", {"a", "b"}},                          // blanks around a field
      {"\"x, y\",z\r\n", {"x, y", "z"}},                     // quotes keep commas
      {"\"q\"junk,next\n", {"q", "next"}},                   // text after the quote dropped
      {"1,,3\r\n", {"1", "", "3"}},                          // empty field
      {"a,\r\nb\r\n", {"a", "", "b"}},                       // trailing comma, then next line
      {"a\r\n\r\nb", {"a", "", "b"}},                        // empty line is one empty field
      {"a\rb\nc", {"a", "b", "c"}},                          // any line end
      {"\"open,quote\r\nnext\r\n", {"open,quote", "next"}},  // unclosed quote ends at the line
  };
  for (const Case& c : cases) {
    FieldReader reader(c.text, "test.dat");
    EXPECT_EQ(ReadAll(reader), c.fields) << c.text;
  }
}

TEST(FieldReader, ReadsOneStreamAcrossLinesAndReportsTheEnd) {
  FieldReader reader("1,2\r\n3\r\n", "20.dat");
  for (const char* expected : {"1", "2", "3"}) {
    auto field = reader.Next();
    ASSERT_TRUE(field.ok());
    EXPECT_EQ(*field, expected);
  }
  EXPECT_TRUE(reader.AtEnd());
  auto past = reader.Next();
  ASSERT_FALSE(past.ok());
  EXPECT_NE(past.error().message.find("20.dat"), std::string::npos);
}

TEST(Numbers, RoundsHalvesToEven) {
  const std::pair<double, double> cases[] = {{0.5, 0},  {1.5, 2},     {2.5, 2},
                                             {-0.5, 0}, {-1.5, -2},   {0.49, 0},
                                             {0.51, 1}, {254.5, 254}, {255.5, 256}};
  for (auto [in, out] : cases)
    EXPECT_EQ(RoundHalfEven(in), out) << in;
}

TEST(Numbers, ConvertsFieldsAndRejectsBadOnes) {
  EXPECT_EQ(*ToInt16(" 42 "), 42);
  EXPECT_EQ(*ToInt16(""), 0);
  EXPECT_EQ(*ToInt16("-50"), -50);
  EXPECT_EQ(*ToInt16("2.5"), 2);
  EXPECT_FALSE(ToInt16("32768").ok());
  EXPECT_FALSE(ToInt16("abc").ok());
  EXPECT_EQ(*ToInt32("70000"), 70000);
  EXPECT_FLOAT_EQ(*ToSingle("0.25"), 0.25f);
  EXPECT_NE(ToInt16("x1").error().message.find("x1"), std::string::npos);
}

TEST(Numbers, SixteenBitArithmeticReportsOverflow) {
  EXPECT_EQ(CheckedAdd16(32766, 1), std::optional<int16_t>(32767));
  EXPECT_EQ(CheckedAdd16(32767, 1), std::nullopt);
  EXPECT_EQ(CheckedSub16(-32768, 1), std::nullopt);
  EXPECT_EQ(CheckedMul16(200, 200), std::nullopt);
  EXPECT_EQ(SaturatingAdd16(32767, 1), 32767);
  EXPECT_EQ(SaturatingAdd16(-32768, -5), -32768);
  EXPECT_EQ(CInt(32767.4), std::optional<int16_t>(32767));
  EXPECT_EQ(CInt(32767.5), std::nullopt);
}

TEST(Files, ReplaceKeepsTheOldFileUntilTheNewOneIsComplete) {
  const auto folder = std::filesystem::temp_directory_path() / "dovetail-files-test";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const auto path = folder / "40.dat";

  ASSERT_TRUE(ReplaceFileAtomically(path, "first").ok());
  ASSERT_TRUE(ReplaceFileAtomically(path, "second").ok());
  EXPECT_EQ(*ReadWholeFile(path), "second");
  // Only the file itself is left: no temporary files.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);

  // A folder that does not exist: an error naming the file, nothing written.
  const auto missing = folder / "no-such-folder" / "40.dat";
  auto status = ReplaceFileAtomically(missing, "x");
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().message.find("40.dat"), std::string::npos);
  EXPECT_FALSE(ReadWholeFile(missing).ok());
  std::filesystem::remove_all(folder);
}

// A folder of its own for each file test, removed afterwards.
struct FileTestFolder {
  explicit FileTestFolder(const std::string& name)
      : path(std::filesystem::temp_directory_path() / ("dovetail-files-" + name)) {
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
  }
  ~FileTestFolder() { std::filesystem::remove_all(path); }
  std::filesystem::path path;
};

TEST(Files, OnlyARegularFileWithinItsCapIsRead) {
  FileTestFolder folder("read");
  const auto& dir = folder.path;
  ASSERT_TRUE(ReplaceFileAtomically(dir / "empty.dat", ""));
  ASSERT_TRUE(ReplaceFileAtomically(dir / "ten.dat", "0123456789"));
  std::filesystem::create_directory(dir / "folder.dat");
  ASSERT_EQ(::mkfifo((dir / "fifo.dat").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", dir / "zero.dat");
  std::filesystem::create_symlink(dir / "ten.dat", dir / "link.dat");

  EXPECT_EQ(*ReadWholeFile(dir / "empty.dat", 0), "");
  EXPECT_EQ(*ReadWholeFile(dir / "ten.dat", 10), "0123456789");
  EXPECT_EQ(*ReadWholeFile(dir / "link.dat", 10), "0123456789");  // reading follows links
  const struct {
    const char* name;
    uint64_t cap;
    const char* reason;
  } refused[] = {
      {"folder.dat", 100, "is a folder"},
      {"fifo.dat", 100, "is a named pipe"},  // and does not wait for a writer
      {"zero.dat", 100, "is a character device"},
      {"ten.dat", 9, "larger than 9 bytes"},
      {"missing.dat", 100, "cannot be opened"},
  };
  for (const auto& file : refused) {
    auto read = ReadWholeFile(dir / file.name, file.cap);
    ASSERT_FALSE(read.ok()) << file.name;
    EXPECT_NE(read.error().message.find(file.name), std::string::npos) << read.error().message;
    EXPECT_NE(read.error().message.find(file.reason), std::string::npos) << read.error().message;
  }
}

TEST(Files, TheSignatureSwapOnlySwapsAndNeverWritesAnotherFile) {
  FileTestFolder folder("in-place");
  const auto& dir = folder.path;
  ASSERT_TRUE(ReplaceFileAtomically(dir / "target.dat", "JFxyz"));
  ASSERT_TRUE(SwapSignatureInPlace(dir / "target.dat", "JF", "BM"));
  EXPECT_EQ(*ReadWholeFile(dir / "target.dat"), "BMxyz");
  ASSERT_TRUE(SwapSignatureInPlace(dir / "target.dat", "JF", "BM"));  // already swapped
  EXPECT_EQ(*ReadWholeFile(dir / "target.dat"), "BMxyz");

  // Refused, and the file the name leads to stays as it was.
  ASSERT_TRUE(ReplaceFileAtomically(dir / "other.dat", "PKzip"));
  ASSERT_TRUE(ReplaceFileAtomically(dir / "short.dat", "J"));
  std::filesystem::create_symlink(dir / "target.dat", dir / "link.dat");
  std::filesystem::create_hard_link(dir / "target.dat", dir / "hard.dat");
  ASSERT_EQ(::mkfifo((dir / "fifo.dat").c_str(), 0600), 0);
  const std::pair<const char*, const char*> refused[] = {
      {"link.dat", "is a symbolic link"},   {"hard.dat", "has 2 hard links"},
      {"other.dat", "starts with neither"}, {"short.dat", "starts with neither"},
      {"fifo.dat", "not a regular file"},  // and does not block
  };
  for (const auto& [name, reason] : refused) {
    Status swapped = SwapSignatureInPlace(dir / name, "BM", "JF");
    ASSERT_FALSE(swapped.ok()) << name;
    EXPECT_NE(swapped.error().message.find(std::string(name) + ": "), std::string::npos)
        << swapped.error().message;
    EXPECT_NE(swapped.error().message.find(reason), std::string::npos) << swapped.error().message;
  }
  EXPECT_EQ(*ReadWholeFile(dir / "target.dat"), "BMxyz");
  EXPECT_EQ(*ReadWholeFile(dir / "other.dat"), "PKzip");
}

TEST(Files, AFileToChangeIsNeverReadThroughALink) {
  FileTestFolder folder("change");
  const auto& dir = folder.path;
  ASSERT_TRUE(ReplaceFileAtomically(dir / "secret", "not the game's"));
  std::filesystem::create_symlink(dir / "secret", dir / "rank.txt");
  auto read = ReadFileToChange(dir / "rank.txt");
  ASSERT_FALSE(read.ok());
  EXPECT_NE(read.error().message.find("rank.txt: is a symbolic link"), std::string::npos)
      << read.error().message;
  EXPECT_EQ(*ReadWholeFile(dir / "rank.txt"), "not the game's");  // a plain read follows
}

TEST(Files, ANewFileTakesTheUmasksPermissionsAndAReplacedOneKeepsItsOwn) {
  FileTestFolder folder("modes");
  const auto& dir = folder.path;
  const auto modeOf = [](const std::filesystem::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 0777;
  };
  const mode_t before = ::umask(077);
  ASSERT_TRUE(ReplaceFileAtomically(dir / "private.dat", "a"));
  ::umask(022);
  ASSERT_TRUE(ReplaceFileAtomically(dir / "shared.dat", "b"));
  ::chmod((dir / "private.dat").c_str(), 0640);
  ASSERT_TRUE(ReplaceFileAtomically(dir / "private.dat", "c"));
  ::umask(before);
  EXPECT_EQ(modeOf(dir / "shared.dat"), 0644u);
  EXPECT_EQ(modeOf(dir / "private.dat"), 0640u);
  ::umask(077);
  ASSERT_TRUE(ReplaceFileAtomically(dir / "new.dat", "d"));
  ::umask(before);
  EXPECT_EQ(modeOf(dir / "new.dat"), 0600u);
}

TEST(Files, ReplacingALinkReplacesTheLinkNotItsTarget) {
  FileTestFolder folder("replace-link");
  const auto& dir = folder.path;
  ASSERT_TRUE(ReplaceFileAtomically(dir / "outside.dat", "theirs"));
  std::filesystem::create_symlink(dir / "outside.dat", dir / "40.dat");
  ASSERT_TRUE(ReplaceFileAtomically(dir / "40.dat", "ours"));
  EXPECT_FALSE(std::filesystem::is_symlink(dir / "40.dat"));
  EXPECT_EQ(*ReadWholeFile(dir / "40.dat"), "ours");
  EXPECT_EQ(*ReadWholeFile(dir / "outside.dat"), "theirs");
}

TEST(Files, TemporaryFileNamesAreRecognisedExactly) {
  EXPECT_TRUE(IsTemporaryFileOf(".40.dat.a1B2c3", "40.dat"));
  EXPECT_TRUE(IsTemporaryFileOf(".40.dat.bak.a1B2c3", "40.dat.bak"));
  EXPECT_FALSE(IsTemporaryFileOf(".40.dat.bak.a1B2c3", "40.dat"));
  EXPECT_FALSE(IsTemporaryFileOf("40.dat.a1B2c3", "40.dat"));
  EXPECT_FALSE(IsTemporaryFileOf(".40.dat", "40.dat"));
}

}  // namespace
}  // namespace dovetail
