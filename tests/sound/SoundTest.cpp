#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "backends/audio/silent/NullAudioOutput.h"
#include "backends/hosts/headless/HeadlessHost.h"
#include "sound/Sound.h"
#include "story/AudioCommand.h"
#include "support/MidiFixture.h"
#include "support/RecordedEvents.h"
#include "support/TempFolder.h"
#include "window/Window.h"

namespace dovetail {
namespace {

using testing::MidiOfQuarters;

class SoundTest : public ::testing::Test {
 protected:
  SoundTest()
      : window(host, "Dovetail"),
        bgmTimer(window.AddTimer("BGM_Timer", 2000)),
        output(host,
               {{101, 300}, {102, 250}, {103, 900}, {104, 1200}, {105, 150}, {106, 400}, {107, 80}},
               800),
        sound(host, output, flags, bgmTimer, events),
        folder(std::string("sound-") +
               ::testing::UnitTest::GetInstance()->current_test_info()->name()) {
    Write("01.mid", MidiOfQuarters(3));  // 1500 ms
    Write("02.mid", MidiOfQuarters(4));  // 2000 ms, loop point at 1000 / 768 quarters
    Write("bad.mid", "MThd");
    bgmTimer.onTimer = [this] { sound.BGM_Timer_Timer(); };
    events.onEvent = [this](const GameEvent& event) {
      if (const auto* volume = std::get_if<VolumeEvent>(&event)) {
        volumes.push_back({host.TickCount(), volume->value});
      } else if (auto described = testing::DescribeSound(event)) {
        log.push_back(*described);
      }
    };
  }
  void Write(const std::string& name, const std::string& bytes) {
    testing::WriteBytes(folder.path / name, bytes);
  }
  std::string Path(const std::string& name) const { return (folder.path / name).string(); }
  void OpenMixer() {
    ASSERT_TRUE(sound.MixerOpen());
    ASSERT_TRUE(sound.MixerFindVolume(Sound::kSpeakersComponent));
  }
  std::vector<uint32_t> VolumesSet() const {
    std::vector<uint32_t> values;
    for (auto [at, value] : volumes)
      values.push_back(value);
    return values;
  }

  HeadlessHost host;
  Window window;
  Timer& bgmTimer;
  NullAudioOutput output;
  SoundFlags flags;
  testing::RecordedEvents events;
  Sound sound;
  testing::TempFolder folder;
  std::vector<std::string> log;
  std::vector<std::pair<uint32_t, uint32_t>> volumes;  // tick, value
};

TEST_F(SoundTest, TheSamePieceRestartsOnlyUnderTheLoopingPlayer) {
  for (bool looping : {false, true}) {
    flags.UseDirectMusic = looping;
    log.clear();
    sound.PlayBgm(Path("01.mid"));
    sound.PlayBgm(Path("01.mid"));
    const std::vector<std::string> once = {"open 01.mid", "play 01.mid"};
    const std::vector<std::string> twice = {"open 01.mid", "play 01.mid", "open 01.mid",
                                            "play 01.mid"};
    EXPECT_EQ(log, looping ? twice : once);
    EXPECT_EQ(sound.CurrentBgm(), looping ? "" : Path("01.mid"));
    EXPECT_EQ(bgmTimer.Enabled(), !looping);
    sound.StopBgm();
  }
}

TEST_F(SoundTest, WithMusicOffPlayBgmDoesNothingAndLeavesTheTimerAlone) {
  flags.BgmEnabled = false;
  for (bool looping : {false, true}) {
    for (bool timerOn : {false, true}) {
      flags.UseDirectMusic = looping;
      bgmTimer.SetEnabled(timerOn);
      sound.PlayBgm(Path("01.mid"));
      EXPECT_EQ(bgmTimer.Enabled(), timerOn);
    }
  }
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(output.MusicPositionMs(), 0u);
}

TEST_F(SoundTest, ASecondPieceWhileOneIsOpenLeavesTheFirstPlaying) {
  sound.PlayBgm(Path("01.mid"));
  sound.PlayBgm(Path("02.mid"));
  EXPECT_EQ(sound.CurrentBgm(), Path("01.mid"));
  EXPECT_EQ(sound.SequencerStatus(), "PLAYING");
  EXPECT_TRUE(flags.BgmEnabled);
  EXPECT_EQ(log, (std::vector<std::string>{"open 01.mid", "play 01.mid"}));
  sound.StopBgm();
  EXPECT_EQ(sound.CurrentBgm(), "");
  EXPECT_EQ(sound.SequencerStatus(), "");
  sound.PlayBgm(Path("02.mid"));
  EXPECT_EQ(sound.CurrentBgm(), Path("02.mid"));
}

TEST_F(SoundTest, AFileThatCannotBeOpenedSwitchesMusicOffForTheRun) {
  for (bool looping : {false, true}) {
    for (const char* name : {"missing.mid", "bad.mid"}) {
      flags = SoundFlags{};
      flags.UseDirectMusic = looping;
      log.clear();
      sound.PlayBgm(Path(name));
      EXPECT_FALSE(flags.BgmEnabled) << name;
      ASSERT_TRUE(sound.LastError().has_value());
      EXPECT_NE(sound.LastError()->message.find(name), std::string::npos)
          << sound.LastError()->message;
      sound.PlayBgm(Path("01.mid"));
      EXPECT_TRUE(log.empty()) << name;
      EXPECT_EQ(sound.SequencerStatus(), "");
    }
  }
}

TEST_F(SoundTest, FadesSetTheirStepsMoreThanOneHundredMillisecondsApart) {
  OpenMixer();
  auto range = [](int64_t from, int64_t to, int64_t step) {
    std::vector<uint32_t> values;
    for (int64_t v = from; step > 0 ? v <= to : v >= to; v += step)
      values.push_back(static_cast<uint32_t>(v));
    return values;
  };
  struct Case {
    bool in;
    uint32_t value;
    std::vector<uint32_t> expected;
  };
  const Case cases[] = {
      {false, 800, range(800, 0, -100)},
      {false, 15, range(15, 0, -1)},
      {false, 5, {}},
      {false, 0, {}},
      {false, 65535, range(65535, 7, -8191)},
      {true, 800, range(0, 800, 100)},
      {true, 7, {}},
      {true, 65535, range(0, 65528, 8191)},
  };
  for (const Case& c : cases) {
    volumes.clear();
    const uint32_t start = host.TickCount();
    c.in ? sound.FadeIn(c.value) : sound.FadeOut(c.value);
    EXPECT_EQ(VolumesSet(), c.expected) << (c.in ? "in " : "out ") << c.value;
    for (size_t i = 0; i < volumes.size(); ++i)
      EXPECT_EQ(volumes[i].first, start + 101 * i);
    EXPECT_EQ(host.TickCount(), start + 101 * volumes.size());
    if (!c.expected.empty()) {
      EXPECT_EQ(output.MasterVolume(), c.expected.back());
    }
  }
  EXPECT_EQ(range(65535, 7, -8191).size(), 9u);
}

TEST_F(SoundTest, StoppingWithFadeFadesOutThenRestoresTheVolume) {
  OpenMixer();
  flags.FadeOnStop = true;
  sound.PlayBgm(Path("01.mid"));
  sound.StopBgm();
  std::vector<uint32_t> expected;
  for (int v = 800; v >= 0; v -= 100)
    expected.push_back(static_cast<uint32_t>(v));
  expected.push_back(800);
  EXPECT_EQ(VolumesSet(), expected);
  EXPECT_EQ(volumes.back().first - volumes[volumes.size() - 2].first,
            101u + 4 * 51u);  // last step, then 200 ms
  EXPECT_EQ(sound.SavedVolume, 800u);
  EXPECT_EQ(log.back(), "stop 01.mid");
}

TEST_F(SoundTest, TheSynchronousEffectBlocksForItsLengthAndTheOthersDoNot) {
  for (int32_t id : {104, 105, 101}) {
    const uint32_t before = host.TickCount();
    sound.PlayWave(id);
    EXPECT_EQ(host.TickCount() - before, id == 104 ? 1200u : 0u) << id;
  }
  EXPECT_EQ(output.PlayingEffect(), 101);  // 101 cut off 105
  sound.PlayWave(100);                     // the script's digits 1 and 9 name no sound
  sound.PlayWave(108);
  EXPECT_EQ(output.PlayingEffect(), 101);
  EXPECT_EQ(log, (std::vector<std::string>{"wave 104", "wave 105", "wave 101"}));

  flags.SeEnabled = false;
  log.clear();
  const uint32_t before = host.TickCount();
  sound.PlayWave(104);
  sound.PlayWave(105);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(host.TickCount(), before);
  EXPECT_EQ(output.PlayingEffect(), 101);
}

TEST_F(SoundTest, TheTimerRestartsAFinishedPieceWithinTwoSeconds) {
  sound.PlayBgm(Path("01.mid"));
  const uint32_t started = host.TickCount();
  uint32_t rewoundAt = 0;
  events.onEvent = [&](const GameEvent& event) {
    const auto* bgm = std::get_if<BgmEvent>(&event);
    if (bgm != nullptr && bgm->action == BgmAction::Rewind && rewoundAt == 0) {
      rewoundAt = host.TickCount();
    }
  };
  bool sawStopped = false;
  while (rewoundAt == 0 && host.TickCount() - started < 10000) {
    if (sound.SequencerStatus() == "STOPPED") sawStopped = true;
    EXPECT_EQ(sound.SequencerStatus(),
              host.TickCount() - started < 1500 ? std::string("PLAYING") : std::string("STOPPED"));
    host.DoEvents();
  }
  EXPECT_TRUE(sawStopped);
  ASSERT_NE(rewoundAt, 0u);
  EXPECT_GE(rewoundAt - started, 1500u);
  EXPECT_LE(rewoundAt - started, 1500u + 2000u);
  EXPECT_EQ(sound.SequencerStatus(), "PLAYING");
  EXPECT_EQ(output.MusicPositionMs(), 0u);

  // Stopped, the timer keeps polling but finds nothing to rewind.
  sound.StopBgm();
  rewoundAt = 0;
  for (int i = 0; i < 5000; ++i)
    host.DoEvents();
  EXPECT_TRUE(bgmTimer.Enabled());
  EXPECT_EQ(rewoundAt, 0u);
}

TEST_F(SoundTest, TheLoopingPlayerLoopsFromTheLoopPointByItself) {
  flags.UseDirectMusic = true;
  bgmTimer.SetEnabled(true);
  sound.PlayBgm(Path("02.mid"));
  EXPECT_FALSE(bgmTimer.Enabled());
  EXPECT_EQ(sound.SequencerStatus(), "");
  const uint32_t loopStartMs = 1000 * 500 / 768;  // music time 1000 at 500 ms a quarter
  host.Sleep(1999);
  EXPECT_EQ(output.MusicPositionMs(), 1999u);
  host.Sleep(1 + 100);
  EXPECT_EQ(output.MusicPositionMs(), loopStartMs + 100);
  host.Sleep(10 * (2000 - loopStartMs));
  EXPECT_EQ(output.MusicPositionMs(), loopStartMs + 100);
  EXPECT_FALSE(output.MusicFinished());
  sound.StopBgm();
  EXPECT_EQ(output.MusicPositionMs(), 0u);
  EXPECT_EQ(log, (std::vector<std::string>{"open 02.mid", "play 02.mid", "stop 02.mid"}));
}

TEST_F(SoundTest, ExitStopsWithoutFadingAndRestoresTheStartVolume) {
  flags.FadeOnStop = true;
  sound.StartUp();
  EXPECT_EQ(sound.StartVolume, 800u);
  EXPECT_EQ(sound.SavedVolume, 800u);
  sound.PlayBgm(Path("01.mid"));
  ASSERT_TRUE(sound.MixerSetVolume(300));
  volumes.clear();
  sound.ShutDown();
  EXPECT_EQ(VolumesSet(), (std::vector<uint32_t>{800}));
  EXPECT_EQ(sound.SequencerStatus(), "");
  EXPECT_EQ(log.back(), "stop 01.mid");
}

TEST_F(SoundTest, WithoutASoundDeviceStartUpSwitchesSoundOffUnderEitherPlayer) {
  output.SetDeviceAvailable(false);
  for (bool looping : {false, true}) {
    SCOPED_TRACE(looping);
    flags = SoundFlags{};
    flags.UseDirectMusic = looping;
    sound.StartUp();
    uint32_t value = 0;
    EXPECT_FALSE(sound.MixerGetVolume(value));
    EXPECT_FALSE(flags.BgmEnabled);
    EXPECT_FALSE(flags.SeEnabled);
    ASSERT_TRUE(sound.LastError());
    EXPECT_EQ(sound.LastError()->message, "no sound device");
    sound.PlayBgm(Path("01.mid"));
    sound.PlayWave(104);
    EXPECT_TRUE(log.empty());
  }
}

// The script's sound command, by its last character.
TEST_F(SoundTest, TheScriptsSoundCommandFadesStopsAndPlaysEffects) {
  OpenMixer();
  sound.PlayBgm(Path("01.mid"));
  log.clear();
  const std::vector<uint32_t> fadeOut = {800, 700, 600, 500, 400, 300, 200, 100, 0};
  const std::vector<uint32_t> fadeIn = {0, 100, 200, 300, 400, 500, 600, 700, 800};

  CmdAudio(sound, "aJ");  // fade out, the music goes on
  EXPECT_EQ(VolumesSet(), fadeOut);
  EXPECT_EQ(sound.SavedVolume, 800u);
  EXPECT_EQ(sound.SequencerStatus(), "PLAYING");

  volumes.clear();
  CmdAudio(sound, "ak");  // fade back in to the saved volume
  EXPECT_EQ(VolumesSet(), fadeIn);

  volumes.clear();
  CmdAudio(sound, "a0");  // fade out, stop, and the volume back where it was
  std::vector<uint32_t> stopped = fadeOut;
  stopped.push_back(800);
  EXPECT_EQ(VolumesSet(), stopped);
  // (the piece ended during the fades and the timer started it again)
  EXPECT_EQ(log.back(), "stop 01.mid");
  EXPECT_EQ(sound.CurrentBgm(), "");

  // Digits play effect 99 + digit; 1 and 9 name no sound; letters A..I do nothing.
  log.clear();
  volumes.clear();
  for (const char* command : {"a5", "a1", "a9", "a2", "aA", "ai", "a"})
    CmdAudio(sound, command);
  EXPECT_EQ(log, (std::vector<std::string>{"wave 104", "wave 101"}));
  EXPECT_TRUE(volumes.empty());
}

TEST_F(SoundTest, TheScriptsSoundCommandIsIdleWhileMusicAndEffectsAreOff) {
  OpenMixer();
  sound.PlayBgm(Path("01.mid"));
  log.clear();
  flags.BgmEnabled = false;
  flags.SeEnabled = false;
  for (const char* command : {"a0", "aJ", "aK", "a5"})
    CmdAudio(sound, command);
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(volumes.empty());
  EXPECT_EQ(sound.SequencerStatus(), "PLAYING");
}

// A host on which letting events run takes no time, as on the desktop.
class TimelessEventsHost : public HeadlessHost {
 public:
  void DoEvents() override {
    if (++rounds > 100000) throw std::runtime_error("the fade spins without waiting");
  }
  int rounds = 0;
};

TEST(MciFade, WaitsForTheClockWhereLettingEventsRunTakesNoTime) {
  TimelessEventsHost host;
  Window window(host, "Dovetail");
  NullAudioOutput output(host, {}, 800);
  SoundFlags flags;
  IgnoredEvents events;
  Sound sound(host, output, flags, window.AddTimer("BGM_Timer", 2000), events);
  ASSERT_TRUE(sound.MixerOpen());
  ASSERT_TRUE(sound.MixerFindVolume(Sound::kSpeakersComponent));
  sound.FadeOut(800);
  // Nine steps, each ending once more than 100 ms have passed.
  EXPECT_EQ(host.TickCount(), 9u * 101u);
  EXPECT_EQ(output.MasterVolume(), 0);
}

}  // namespace
}  // namespace dovetail
