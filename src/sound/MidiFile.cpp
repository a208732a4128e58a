#include "sound/MidiFile.h"

#include <algorithm>

#include "base/Files.h"

namespace dovetail {

namespace {

// A bounds-checked reader over a byte range.
class ByteReader {
 public:
  ByteReader(std::string_view bytes, size_t begin, size_t end)
      : bytes_(bytes), pos_(begin), end_(end) {}

  bool AtEnd() const { return pos_ >= end_; }
  size_t Position() const { return pos_; }
  bool Has(size_t count) const { return pos_ <= end_ && end_ - pos_ >= count; }

  bool Byte(uint8_t& out) {
    if (!Has(1)) return false;
    out = static_cast<uint8_t>(bytes_[pos_++]);
    return true;
  }
  bool BigEndian(size_t count, uint32_t& out) {
    if (!Has(count)) return false;
    out = 0;
    for (size_t i = 0; i < count; ++i)
      out = (out << 8) | static_cast<uint8_t>(bytes_[pos_++]);
    return true;
  }
  // A variable-length quantity: at most four bytes, seven bits each.
  bool VarLen(uint32_t& out) {
    out = 0;
    for (int i = 0; i < 4; ++i) {
      uint8_t b = 0;
      if (!Byte(b)) return false;
      out = (out << 7) | (b & 0x7F);
      if ((b & 0x80) == 0) return true;
    }
    return false;
  }
  bool Skip(size_t count) {
    if (!Has(count)) return false;
    pos_ += count;
    return true;
  }

 private:
  std::string_view bytes_;
  size_t pos_;
  size_t end_;
};

Error Fail(const std::string& name, const std::string& reason) {
  return Error{name + ": " + reason};
}

// Number of data bytes after a channel status byte.
int DataBytes(uint8_t status) {
  switch (status & 0xF0) {
    case 0xC0:
    case 0xD0:
      return 1;
    default:
      return 2;
  }
}

// Walks one track chunk, collecting its tempo changes and channel messages;
// returns its length in ticks.
Result<uint32_t> ReadTrack(ByteReader track, int index, const std::string& name,
                           std::vector<TempoChange>& tempos, std::vector<MidiEvent>& events) {
  const std::string where = "track " + std::to_string(index) + ": ";
  uint64_t tick = 0;
  uint8_t runningStatus = 0;
  while (!track.AtEnd()) {
    uint32_t delta = 0;
    if (!track.VarLen(delta)) return Fail(name, where + "bad or truncated delta time");
    tick += delta;
    if (tick > UINT32_MAX) return Fail(name, where + "too long");
    uint8_t status = 0;
    if (!track.Byte(status)) return Fail(name, where + "truncated event");
    if (status == 0xFF) {
      uint8_t type = 0;
      uint32_t length = 0;
      if (!track.Byte(type) || !track.VarLen(length) || !track.Has(length)) {
        return Fail(name, where + "truncated meta event");
      }
      if (type == 0x51) {
        uint32_t tempo = 0;
        if (length != 3 || !track.BigEndian(3, tempo)) return Fail(name, where + "bad tempo event");
        if (tempo == 0) return Fail(name, where + "tempo of zero");
        tempos.push_back({static_cast<uint32_t>(tick), tempo});
      } else {
        track.Skip(length);
      }
      if (type == 0x2F) break;  // end of track
      runningStatus = 0;
    } else if (status == 0xF0 || status == 0xF7) {
      uint32_t length = 0;
      if (!track.VarLen(length) || !track.Skip(length))
        return Fail(name, where + "truncated system exclusive");
      runningStatus = 0;
    } else if (status >= 0xF0) {
      return Fail(name, where + "unexpected status byte " + std::to_string(status));
    } else {
      MidiEvent event;
      event.tick = static_cast<uint32_t>(tick);
      uint8_t first = 0;
      if (status >= 0x80) {
        runningStatus = status;
        if (!track.Byte(first)) return Fail(name, where + "truncated channel event");
      } else {
        // Running status: this byte is already the first data byte.
        if (runningStatus == 0) return Fail(name, where + "data byte without a status");
        first = status;
      }
      event.status = runningStatus;
      event.data1 = first & 0x7F;
      if (DataBytes(runningStatus) == 2) {
        uint8_t second = 0;
        if (!track.Byte(second)) return Fail(name, where + "truncated channel event");
        event.data2 = second & 0x7F;
      }
      events.push_back(event);
    }
  }
  return static_cast<uint32_t>(tick);
}

}  // namespace

double MidiPiece::MsAtTick(uint32_t tick) const {
  double ms = 0;
  uint32_t from = 0;
  uint32_t tempo = 500000;
  for (const TempoChange& change : tempos) {
    if (change.tick >= tick) break;
    ms += static_cast<double>(change.tick - from) * tempo / (1000.0 * ticksPerQuarter);
    from = change.tick;
    tempo = change.microsecondsPerQuarter;
  }
  ms += static_cast<double>(tick - from) * tempo / (1000.0 * ticksPerQuarter);
  return ms;
}

double MidiPiece::MsAtMusicTime(int32_t musicTime) const {
  if (musicTime <= 0) return 0;
  const uint64_t tick = static_cast<uint64_t>(musicTime) * ticksPerQuarter / kMusicTimePerQuarter;
  return MsAtTick(static_cast<uint32_t>(std::min<uint64_t>(tick, UINT32_MAX)));
}

Result<MidiPiece> ParseMidi(std::string bytes, std::string name) {
  MidiPiece piece;
  piece.name = std::move(name);
  const std::string& nm = piece.name;
  ByteReader file(bytes, 0, bytes.size());

  uint32_t tag = 0;
  uint32_t headerLength = 0;
  if (!file.BigEndian(4, tag) || tag != 0x4D546864 /* MThd */) return Fail(nm, "not a MIDI file");
  uint32_t format = 0;
  uint32_t trackCount = 0;
  uint32_t division = 0;
  if (!file.BigEndian(4, headerLength) || headerLength < 6 || !file.BigEndian(2, format) ||
      !file.BigEndian(2, trackCount) || !file.BigEndian(2, division) ||
      !file.Skip(headerLength - 6)) {
    return Fail(nm, "truncated header");
  }
  if (format > 1) return Fail(nm, "MIDI format " + std::to_string(format) + " is not supported");
  if (trackCount == 0 || (format == 0 && trackCount != 1)) {
    return Fail(nm, "bad track count " + std::to_string(trackCount));
  }
  if ((division & 0x8000) != 0) return Fail(nm, "SMPTE time division is not supported");
  if (division == 0) return Fail(nm, "time division of zero");
  piece.format = static_cast<uint16_t>(format);
  piece.ticksPerQuarter = static_cast<uint16_t>(division);

  std::vector<TempoChange> tempos;
  std::vector<MidiEvent> events;
  uint32_t tracksRead = 0;
  while (tracksRead < trackCount) {
    uint32_t chunkLength = 0;
    if (!file.BigEndian(4, tag) || !file.BigEndian(4, chunkLength)) {
      return Fail(nm, "truncated: " + std::to_string(tracksRead) + " of " +
                          std::to_string(trackCount) + " tracks");
    }
    if (!file.Has(chunkLength)) return Fail(nm, "truncated track " + std::to_string(tracksRead));
    const size_t begin = file.Position();
    file.Skip(chunkLength);
    if (tag != 0x4D54726B /* MTrk */) continue;  // unknown chunks are skipped
    Result<uint32_t> length = ReadTrack(ByteReader(bytes, begin, begin + chunkLength),
                                        static_cast<int>(tracksRead), nm, tempos, events);
    if (!length) return length.error();
    piece.lengthTicks = std::max(piece.lengthTicks, *length);
    ++tracksRead;
  }

  // Tempo map: sorted by tick, a later change at the same tick wins.
  std::stable_sort(tempos.begin(), tempos.end(),
                   [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
  for (const TempoChange& change : tempos) {
    if (!piece.tempos.empty() && piece.tempos.back().tick == change.tick) {
      piece.tempos.back() = change;
    } else {
      piece.tempos.push_back(change);
    }
  }
  if (piece.tempos.empty() || piece.tempos.front().tick != 0)
    piece.tempos.insert(piece.tempos.begin(), TempoChange{});

  std::stable_sort(events.begin(), events.end(),
                   [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });
  for (MidiEvent& event : events)
    event.ms = piece.MsAtTick(event.tick);
  piece.events = std::move(events);

  // A slow tempo over many ticks can outlast 32 bits of milliseconds (49 days).
  const double lengthMs = piece.MsAtTick(piece.lengthTicks);
  if (!(lengthMs <= static_cast<double>(UINT32_MAX))) return Fail(nm, "too long");
  piece.lengthMs = static_cast<uint32_t>(lengthMs);
  const uint64_t musicTime =
      static_cast<uint64_t>(piece.lengthTicks) * kMusicTimePerQuarter / piece.ticksPerQuarter;
  if (musicTime > INT32_MAX) return Fail(nm, "too long");
  piece.lengthMusicTime = static_cast<int32_t>(musicTime);
  return piece;
}

Result<MidiPiece> ReadMidiFile(const std::filesystem::path& path) {
  Result<std::string> bytes = ReadWholeFile(path, kMaxMidiFileBytes);
  if (!bytes) return bytes.error();
  return ParseMidi(std::move(*bytes), path.string());
}

}  // namespace dovetail
