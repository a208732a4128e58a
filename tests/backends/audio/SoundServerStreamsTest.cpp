// The desktop's sound through a real sound server: a PulseAudio of the test's
// own (a null sink on a socket in a temporary folder), so that the streams,
// the position heard and the server's volume are those a player gets. Skipped
// where PulseAudio or a soundfont is not installed.
//
// These tests wait for real time to pass (the server plays in real time), but
// never assert that something happens within a time: only that it happens at
// all, or not before the music could have been heard.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "backends/audio/synthesizer/SynthAudioOutput.h"

namespace dovetail {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Longer than anything here takes on a loaded machine; reached only on a fault.
constexpr auto kGiveUp = 20s;

// A PulseAudio server for this test alone, with a null sink; the program's
// streams find it through PULSE_SERVER. Left behind by a crash, it ends by
// itself once it has had no client for half a minute.
class PrivateSoundServer {
 public:
  PrivateSoundServer() {
    if (std::system("command -v pulseaudio >/dev/null 2>&1") != 0) return;
    folder_ = fs::temp_directory_path() / ("dovetail-pulse-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    socket_ = folder_ / "native";
    pid_ = fork();
    if (pid_ == 0) {
      setenv("HOME", folder_.c_str(), 1);
      setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
      setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
      const std::string native = "module-native-protocol-unix socket=" + socket_.string();
      execlp("pulseaudio", "pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=30",
             "--use-pid-file=no", "--log-level=0", "--load=module-null-sink sink_name=test",
             ("--load=" + native).c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    const Clock::time_point start = Clock::now();
    while (!fs::exists(socket_) && Clock::now() - start < kGiveUp)
      std::this_thread::sleep_for(10ms);
    setenv("PULSE_SERVER", ("unix:" + socket_.string()).c_str(), 1);
  }
  ~PrivateSoundServer() {
    unsetenv("PULSE_SERVER");
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    std::error_code ec;
    if (!folder_.empty()) fs::remove_all(folder_, ec);
  }
  bool Running() const { return pid_ > 0 && fs::exists(socket_); }
  // What `pactl` prints about the streams playing.
  std::string SinkInputs() const {
    const std::string command = "PULSE_SERVER=unix:" + socket_.string() + " pactl list sink-inputs";
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
      char buffer[4096];
      size_t read = 0;
      while ((read = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, read);
      pclose(pipe);
    }
    return text;
  }

 private:
  fs::path folder_;
  fs::path socket_;
  pid_t pid_ = -1;
};

class SoundServerStreams : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!server_.Running()) GTEST_SKIP() << "PulseAudio is not installed";
    soundFont_ = FindSoundFont();
    if (!soundFont_) GTEST_SKIP() << "no General MIDI soundfont installed";
    auto made = SynthAudioOutput::Create(soundFont_, {{101, std::vector<float>(2 * 4410, 0.25f)}});
    ASSERT_TRUE(made) << made.error().message;
    output_ = std::move(*made);
    ASSERT_TRUE(output_->WaitUntilLoaded());
    ASSERT_TRUE(output_->Open());
    ASSERT_EQ(output_->DeviceName(), "sound server streams");
  }

  // Polls `done` until it holds; false when it never does.
  template <typename Condition>
  static bool Eventually(Condition done) {
    const Clock::time_point start = Clock::now();
    while (!done()) {
      if (Clock::now() - start > kGiveUp) return false;
      std::this_thread::sleep_for(2ms);
    }
    return true;
  }

  PrivateSoundServer server_;
  std::optional<fs::path> soundFont_;
  std::unique_ptr<SynthAudioOutput> output_;
};

// One note held for the whole piece: 600 ms at 96 ticks a quarter, 120 bpm.
MidiPiece ShortPiece() {
  MidiPiece piece;
  piece.name = "short.mid";
  piece.tempos = {TempoChange{}};
  piece.lengthTicks = 115;
  piece.lengthMs = static_cast<uint32_t>(piece.MsAtTick(piece.lengthTicks));
  piece.lengthMusicTime = static_cast<int32_t>(piece.lengthTicks * kMusicTimePerQuarter / 96);
  piece.events = {{0, 0, 0x90, 60, 100}, {115, piece.MsAtTick(115), 0x80, 60, 0}};
  return piece;
}

// The music stream is filled half a second ahead: a piece shorter than that
// is rendered whole at once, but it has ended only once it has been heard,
// and its position never runs ahead of the clock.
TEST_F(SoundServerStreams, APieceEndsWhenItHasBeenHeardNotWhenItWasRendered) {
  const MidiPiece piece = ShortPiece();
  ASSERT_EQ(piece.lengthMs, 598u);
  const Clock::time_point started = Clock::now();
  ASSERT_TRUE(output_->StartMusic(piece, std::nullopt));
  double ahead = 0;
  ASSERT_TRUE(Eventually([&] {
    const uint32_t position = output_->MusicPositionMs();
    const double elapsed =
        std::chrono::duration<double, std::milli>(Clock::now() - started).count();
    ahead = std::max(ahead, position - elapsed);
    return output_->MusicFinished();
  })) << "the piece never ended";
  const auto heardFor = Clock::now() - started;
  EXPECT_GE(heardFor, 590ms) << "ended before it could have been heard";
  EXPECT_LE(ahead, 25.0) << "the position ran ahead of the time played by " << ahead << " ms";
  EXPECT_EQ(output_->MusicPositionMs(), piece.lengthMs);

  // A stop drops what is buffered: nothing is playing, and the piece can
  // start again from its beginning.
  output_->StopMusic();
  EXPECT_EQ(output_->MusicPositionMs(), 0u);
  EXPECT_FALSE(output_->MusicFinished());
  ASSERT_TRUE(output_->StartMusic(piece, MusicLoop{0, piece.lengthMusicTime}));
  EXPECT_LT(output_->MusicPositionMs(), 100u);
  ASSERT_TRUE(Eventually([&] { return output_->MusicPositionMs() > 0; }));
  EXPECT_FALSE(output_->MusicFinished()) << "a looping piece does not end";
}

// An effect has a stream of its own while it sounds, and is heard.
TEST_F(SoundServerStreams, AnEffectIsHeardOnAStreamThatCloses) {
  ASSERT_TRUE(output_->PlayEffect(101));
  EXPECT_TRUE(Eventually([&] { return output_->EffectHeard(); })) << "the effect was never heard";
  EXPECT_NE(server_.SinkInputs().find("Effects"), std::string::npos);
  // 100 ms of sound: its stream plays out and closes; the music's stays.
  EXPECT_TRUE(Eventually([&] { return server_.SinkInputs().find("Effects") == std::string::npos; }))
      << "the effect's stream stayed open";
  EXPECT_NE(server_.SinkInputs().find("Music"), std::string::npos);
}

// The master volume is the streams' volume on the server, as the square of
// the setting: half the setting is a quarter of the amplitude (-12 dB).
TEST_F(SoundServerStreams, TheMasterVolumeIsTheStreamsVolumeOnTheServer) {
  output_->SetMasterVolume(32768);
  EXPECT_EQ(output_->MasterVolume(), 32768);
  EXPECT_TRUE(Eventually([&] {
    return server_.SinkInputs().find("-12.04 dB") != std::string::npos;
  })) << server_.SinkInputs();
  output_->SetMasterVolume(65535);
  EXPECT_TRUE(
      Eventually([&] { return server_.SinkInputs().find("0.00 dB") != std::string::npos; }));
}

}  // namespace
}  // namespace dovetail
