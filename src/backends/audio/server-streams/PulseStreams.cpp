#include "backends/audio/server-streams/PulseStreams.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#include "backends/audio/synthesizer/SharedLibrary.h"

namespace dovetail {

// The client library's functions this program calls.
// clang-format off
#define DOVETAIL_PULSE_CALLS(X) \
  X(pa_threaded_mainloop_new) \
  X(pa_threaded_mainloop_free) \
  X(pa_threaded_mainloop_start) \
  X(pa_threaded_mainloop_stop) \
  X(pa_threaded_mainloop_lock) \
  X(pa_threaded_mainloop_unlock) \
  X(pa_threaded_mainloop_wait) \
  X(pa_threaded_mainloop_signal) \
  X(pa_threaded_mainloop_get_api) \
  X(pa_context_new) \
  X(pa_context_unref) \
  X(pa_context_connect) \
  X(pa_context_disconnect) \
  X(pa_context_get_state) \
  X(pa_context_set_state_callback) \
  X(pa_context_set_sink_input_volume) \
  X(pa_context_errno) \
  X(pa_strerror) \
  X(pa_stream_new) \
  X(pa_stream_unref) \
  X(pa_stream_connect_playback) \
  X(pa_stream_disconnect) \
  X(pa_stream_get_state) \
  X(pa_stream_set_state_callback) \
  X(pa_stream_set_write_callback) \
  X(pa_stream_begin_write) \
  X(pa_stream_write) \
  X(pa_stream_drain) \
  X(pa_stream_get_time) \
  X(pa_stream_get_index) \
  X(pa_operation_unref) \
  X(pa_cvolume_set) \
  X(pa_sw_volume_from_linear)
// clang-format on

struct PulseCalls {
  DOVETAIL_PULSE_CALLS(DOVETAIL_LIBRARY_ENTRY)
};

namespace {

constexpr uint32_t kFrameBytes = 2 * sizeof(float);
// The music's buffer and how much of it is asked for at a time: the process
// wakes about four times a second while music plays.
constexpr uint32_t kMusicBufferMs = 500;
constexpr uint32_t kMusicRequestMs = 250;
// The effect's buffer: an effect is heard within about this time of the call.
constexpr uint32_t kEffectBufferMs = 20;
constexpr uint32_t kEffectRequestMs = 10;
// The effects' blocks are small, as their buffer is.
constexpr uint32_t kEffectBlockFrames = 1024;

Result<std::unique_ptr<PulseCalls>> LoadPulse() {
  Result<SharedLibrary> opened = SharedLibrary::Open("libpulse.so.0");
  if (!opened) return opened.error();
  const SharedLibrary& library = *opened;
  auto calls = std::make_unique<PulseCalls>();
  PulseCalls& table = *calls;
  DOVETAIL_PULSE_CALLS(DOVETAIL_LIBRARY_FIND)
  return calls;
}

}  // namespace

void PulseStreams::lock() {
  calls_->pa_threaded_mainloop_lock(loop_);
}

void PulseStreams::unlock() {
  calls_->pa_threaded_mainloop_unlock(loop_);
}

Result<std::unique_ptr<PulseStreams>> PulseStreams::Connect(Source& source, uint32_t sampleRate,
                                                            float gain) {
  Result<std::unique_ptr<PulseCalls>> calls = LoadPulse();
  if (!calls) return calls.error();
  std::unique_ptr<PulseStreams> streams(
      new PulseStreams(std::move(*calls), source, sampleRate, gain));
  if (streams->loop_ == nullptr) return Error{"the sound server's client cannot start"};
  std::lock_guard lock(*streams);
  if (Status connected = streams->ConnectContext(); !connected) return connected.error();
  if (Status opened = streams->OpenMusicStream(); !opened) return opened.error();
  return streams;
}

PulseStreams::PulseStreams(std::unique_ptr<PulseCalls> calls, Source& source, uint32_t sampleRate,
                           float gain)
    : calls_(std::move(calls)), source_(source), sampleRate_(sampleRate), gain_(gain) {
  loop_ = calls_->pa_threaded_mainloop_new();
  if (loop_ != nullptr && calls_->pa_threaded_mainloop_start(loop_) < 0) {
    calls_->pa_threaded_mainloop_free(loop_);
    loop_ = nullptr;
  }
}

PulseStreams::~PulseStreams() {
  if (loop_ == nullptr) return;
  {
    std::lock_guard lock(*this);
    CloseStream(music_);
    CloseStream(effect_.stream);
    for (pa_stream*& stream : draining_)
      CloseStream(stream);
    if (context_ != nullptr) {
      calls_->pa_context_disconnect(context_);
      calls_->pa_context_unref(context_);
    }
  }
  calls_->pa_threaded_mainloop_stop(loop_);
  calls_->pa_threaded_mainloop_free(loop_);
}

void PulseStreams::CloseStream(pa_stream*& stream) {
  if (stream == nullptr) return;
  calls_->pa_stream_set_write_callback(stream, nullptr, nullptr);
  calls_->pa_stream_set_state_callback(stream, nullptr, nullptr);
  calls_->pa_stream_disconnect(stream);
  calls_->pa_stream_unref(stream);
  stream = nullptr;
}

// Waits (the lock is let go meanwhile) until the server answers or refuses.
// A server is never started for this program: without one the sound is off.
Status PulseStreams::ConnectContext() {
  pa_mainloop_api* api = calls_->pa_threaded_mainloop_get_api(loop_);
  context_ = calls_->pa_context_new(api, "Dovetail");
  if (context_ == nullptr) return Error{"the sound server's client cannot start"};
  calls_->pa_context_set_state_callback(context_, &PulseStreams::OnContextState, this);
  if (calls_->pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
    return Error{std::string("no sound server: ") +
                 calls_->pa_strerror(calls_->pa_context_errno(context_))};
  for (;;) {
    const pa_context_state_t state = calls_->pa_context_get_state(context_);
    if (state == PA_CONTEXT_READY) break;
    if (!PA_CONTEXT_IS_GOOD(state))
      return Error{std::string("no sound server: ") +
                   calls_->pa_strerror(calls_->pa_context_errno(context_))};
    calls_->pa_threaded_mainloop_wait(loop_);
  }
  return Status::Ok();
}

pa_stream* PulseStreams::NewStream(const char* name, uint32_t bufferMs, uint32_t requestMs,
                                   bool lowLatency) {
  const pa_sample_spec format{PA_SAMPLE_FLOAT32NE, sampleRate_, 2};
  pa_stream* stream = calls_->pa_stream_new(context_, name, &format, nullptr);
  if (stream == nullptr) return nullptr;
  calls_->pa_stream_set_state_callback(stream, &PulseStreams::OnStreamState, this);
  pa_buffer_attr buffer{};
  buffer.maxlength = UINT32_MAX;
  buffer.tlength = sampleRate_ * bufferMs / 1000 * kFrameBytes;
  buffer.prebuf = UINT32_MAX;
  buffer.minreq = sampleRate_ * requestMs / 1000 * kFrameBytes;
  buffer.fragsize = UINT32_MAX;
  pa_cvolume volume{};
  calls_->pa_cvolume_set(&volume, 2, calls_->pa_sw_volume_from_linear(gain_));
  // A low-latency stream asks the server to lower the device's own latency to
  // match; the music's buffer is the stream's alone.
  const auto flags =
      static_cast<pa_stream_flags_t>(PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE |
                                     (lowLatency ? PA_STREAM_ADJUST_LATENCY : PA_STREAM_NOFLAGS));
  if (calls_->pa_stream_connect_playback(stream, nullptr, &buffer, flags, &volume, nullptr) < 0) {
    calls_->pa_stream_unref(stream);
    return nullptr;
  }
  return stream;
}

Status PulseStreams::OpenMusicStream() {
  music_ = NewStream("Music", kMusicBufferMs, kMusicRequestMs, false);
  if (music_ == nullptr) return Error{"the sound server refused the music's stream"};
  calls_->pa_stream_set_write_callback(music_, &PulseStreams::OnMusicRequest, this);
  for (;;) {
    const pa_stream_state_t state = calls_->pa_stream_get_state(music_);
    if (state == PA_STREAM_READY) return Status::Ok();
    if (!PA_STREAM_IS_GOOD(state)) {
      CloseStream(music_);
      return Error{std::string("the sound server refused the music's stream: ") +
                   calls_->pa_strerror(calls_->pa_context_errno(context_))};
    }
    calls_->pa_threaded_mainloop_wait(loop_);
  }
}

void PulseStreams::OnContextState(pa_context*, void* self) {
  auto* streams = static_cast<PulseStreams*>(self);
  streams->calls_->pa_threaded_mainloop_signal(streams->loop_, 0);
}

void PulseStreams::OnStreamState(pa_stream* stream, void* self) {
  auto* streams = static_cast<PulseStreams*>(self);
  streams->calls_->pa_threaded_mainloop_signal(streams->loop_, 0);
  // The volume may have changed while the stream was being opened.
  if (streams->calls_->pa_stream_get_state(stream) == PA_STREAM_READY) streams->ApplyGain(stream);
  // An effect stream the server gave up on: the next effect opens another.
  if (stream == streams->effect_.stream &&
      !PA_STREAM_IS_GOOD(streams->calls_->pa_stream_get_state(stream))) {
    streams->CloseStream(streams->effect_.stream);
  }
}

// Renders the music straight into the server's memory, in blocks as large as
// it hands out: the server tells when it has played each block, and every
// such message wakes the process. A block of fewer frames than asked means
// the music fell silent: the stream then gets nothing more, plays out what it
// holds and rests until a restart.
void PulseStreams::FillMusic(size_t bytes) {
  while (bytes >= kFrameBytes) {
    void* data = nullptr;
    size_t size = bytes;
    if (calls_->pa_stream_begin_write(music_, &data, &size) < 0 || data == nullptr) return;
    const auto wanted = static_cast<uint32_t>(std::min(size, bytes) / kFrameBytes);
    const uint32_t frames = source_.PullMusic(static_cast<float*>(data), wanted);
    if (frames == 0) return;
    calls_->pa_stream_write(music_, data, frames * kFrameBytes, nullptr, 0, PA_SEEK_RELATIVE);
    bytes -= frames * kFrameBytes;
    if (frames < wanted) return;
  }
}

void PulseStreams::OnMusicRequest(pa_stream*, size_t bytes, void* self) {
  static_cast<PulseStreams*>(self)->FillMusic(bytes);
}

// A new piece, or the silence after a stop, goes into a new stream: closing
// the old one drops the music it still held at once, and the new one's time
// counts from the first frame of what follows, which is what the position
// heard is measured from.
void PulseStreams::RestartMusic() {
  if (music_ == nullptr) return;
  CloseStream(music_);
  music_ = NewStream("Music", kMusicBufferMs, kMusicRequestMs, false);
  if (music_ != nullptr)
    calls_->pa_stream_set_write_callback(music_, &PulseStreams::OnMusicRequest, this);
}

void PulseStreams::FillEffects(pa_stream* stream, size_t bytes) {
  while (bytes >= kFrameBytes) {
    void* data = nullptr;
    size_t size = std::min<size_t>(bytes, kEffectBlockFrames * kFrameBytes);
    if (calls_->pa_stream_begin_write(stream, &data, &size) < 0 || data == nullptr) return;
    const auto wanted = static_cast<uint32_t>(std::min(size, bytes) / kFrameBytes);
    const uint32_t frames = source_.PullEffects(static_cast<float*>(data), wanted);
    if (frames > 0) {
      calls_->pa_stream_write(stream, data, frames * kFrameBytes, nullptr, 0, PA_SEEK_RELATIVE);
      effect_.framesWritten += frames;
    }
    bytes -= frames * kFrameBytes;
    if (frames < wanted) {
      EndEffectStream(stream);
      return;
    }
  }
}

// The last effect has ended: the stream plays out what it holds and closes;
// an effect asked for meanwhile opens a new one.
void PulseStreams::EndEffectStream(pa_stream* stream) {
  calls_->pa_stream_set_write_callback(stream, nullptr, nullptr);
  effect_ = EffectStream{};
  draining_.push_back(stream);
  if (pa_operation* drain = calls_->pa_stream_drain(stream, &PulseStreams::OnEffectDrained, this))
    calls_->pa_operation_unref(drain);
}

void PulseStreams::OnEffectRequest(pa_stream* stream, size_t bytes, void* self) {
  static_cast<PulseStreams*>(self)->FillEffects(stream, bytes);
}

void PulseStreams::OnEffectDrained(pa_stream* stream, int, void* self) {
  auto* streams = static_cast<PulseStreams*>(self);
  auto found = std::find(streams->draining_.begin(), streams->draining_.end(), stream);
  if (found == streams->draining_.end()) return;
  streams->CloseStream(*found);
  streams->draining_.erase(found);
}

void PulseStreams::StartEffect() {
  if (effect_.stream != nullptr) {
    effectStartFrame_ = effect_.framesWritten;
    return;
  }
  pa_stream* stream = NewStream("Effects", kEffectBufferMs, kEffectRequestMs, true);
  if (stream == nullptr) return;
  calls_->pa_stream_set_write_callback(stream, &PulseStreams::OnEffectRequest, this);
  effect_ = EffectStream{stream, 0};
  effectStartFrame_ = 0;
}

void PulseStreams::ApplyGain(pa_stream* stream) {
  if (stream == nullptr || calls_->pa_stream_get_state(stream) != PA_STREAM_READY) return;
  pa_cvolume volume{};
  calls_->pa_cvolume_set(&volume, 2, calls_->pa_sw_volume_from_linear(gain_));
  if (pa_operation* set = calls_->pa_context_set_sink_input_volume(
          context_, calls_->pa_stream_get_index(stream), &volume, nullptr, nullptr)) {
    calls_->pa_operation_unref(set);
  }
}

void PulseStreams::SetGain(float gain) {
  if (gain == gain_) return;
  gain_ = gain;
  ApplyGain(music_);
  ApplyGain(effect_.stream);
  for (pa_stream* stream : draining_)
    ApplyGain(stream);
}

std::optional<uint64_t> PulseStreams::MusicFramesPlayed() {
  if (music_ == nullptr) return std::nullopt;
  pa_usec_t played = 0;
  if (calls_->pa_stream_get_time(music_, &played) < 0) return std::nullopt;
  return played * sampleRate_ / 1000000;
}

bool PulseStreams::EffectHeard() {
  if (effect_.stream == nullptr) return true;
  pa_usec_t played = 0;
  if (calls_->pa_stream_get_time(effect_.stream, &played) < 0) return false;
  return played * sampleRate_ / 1000000 > effectStartFrame_;
}

}  // namespace dovetail
