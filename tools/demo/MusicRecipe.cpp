#include "demo/MusicRecipe.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>

#include "content/TextLines.h"
#include "sound/MidiFile.h"
#include "sound/Sound.h"

namespace dovetail::tools {

namespace {

constexpr int kTicksPerBeat = 480;
constexpr int kDrumChannel = 9;

std::vector<std::string> Words(std::string_view line) {
  std::istringstream in{std::string(line)};
  std::vector<std::string> words;
  for (std::string w; in >> w;)
    words.push_back(w);
  return words;
}

bool ParseInt(const std::string& text, int low, int high, int& out) {
  if (text.empty()) return false;
  size_t used = 0;
  try {
    out = std::stoi(text, &used);
  } catch (...) {
    return false;
  }
  return used == text.size() && out >= low && out <= high;
}

bool ParseBeats(const std::string& text, double& out) {
  if (text.empty()) return false;
  size_t used = 0;
  try {
    out = std::stod(text, &used);
  } catch (...) {
    return false;
  }
  // Lengths are whole ticks.
  return used == text.size() && out > 0 && out <= 64 &&
         std::abs(out * kTicksPerBeat - std::round(out * kTicksPerBeat)) < 1e-9;
}

// "C4", "F#3", "Bb5" → MIDI key.
bool ParseKey(const std::string& text, int& key) {
  static const int kSemitones[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (text.size() < 2 || text[0] < 'A' || text[0] > 'G') return false;
  int semitone = kSemitones[text[0] - 'A'];
  size_t pos = 1;
  if (text[pos] == '#') {
    ++semitone;
    ++pos;
  } else if (text[pos] == 'b') {
    --semitone;
    ++pos;
  }
  int octave = 0;
  if (!ParseInt(text.substr(pos), -1, 9, octave)) return false;
  key = (octave + 1) * 12 + semitone;
  return key >= 0 && key <= 127;
}

void PutVarLength(std::string& out, uint32_t value) {
  uint8_t bytes[5];
  int n = 0;
  bytes[n++] = value & 0x7F;
  while ((value >>= 7) != 0)
    bytes[n++] = static_cast<uint8_t>((value & 0x7F) | 0x80);
  while (n > 0)
    out.push_back(static_cast<char>(bytes[--n]));
}

void PutBigEndian(std::string& out, uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i)
    out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

struct TimedEvent {
  uint32_t tick;
  int order;  // releases before presses at the same tick
  std::string bytes;
};

}  // namespace

Result<MusicRecipe> ParseMusicRecipe(std::string_view text, const std::string& source) {
  MusicRecipe recipe;
  double barStart = 0;
  for (const TextLine& line : SplitLines(text)) {
    // A line whose first word starts with "#" is a comment, and so is the
    // rest of a line from " #" on ("#" right after a letter is a sharp).
    std::string_view content = line.content;
    const size_t first = content.find_first_not_of(" \t");
    if (first == std::string_view::npos || content[first] == '#') continue;
    if (const size_t hash = content.find(" #"); hash != std::string_view::npos) {
      content = content.substr(0, hash);
    }
    const std::vector<std::string> words = Words(content);
    if (words.empty()) continue;
    auto fail = [&](const std::string& what) {
      return Error{source + ", line " + std::to_string(line.number) + ": " + what};
    };
    if (words[0] == "tempo") {
      int tempo = 0;
      if (words.size() != 2 || !ParseInt(words[1], 20, 300, tempo)) {
        return fail("\"tempo\" takes the beats a minute, 20 to 300");
      }
      recipe.tempo = tempo;
      continue;
    }
    if (words[0] == "meter") {
      if (words.size() != 2 || !ParseInt(words[1], 1, 12, recipe.meter)) {
        return fail("\"meter\" takes the beats a bar, 1 to 12");
      }
      continue;
    }
    if (words[0] == "pickup") {
      const double longest = static_cast<double>(LoopPointTicks()) / kTicksPerBeat;
      if (words.size() != 2 || !ParseBeats(words[1], recipe.pickupBeats) ||
          recipe.pickupBeats > longest) {
        return fail(
            "\"pickup\" takes the beats of the first bar, whole ticks up to the loop "
            "point (" +
            std::to_string(LoopPointTicks()) + " ticks)");
      }
      if (!recipe.parts.empty()) return fail("\"pickup\" comes before the first part");
      continue;
    }
    if (words[0] == "part") {
      MusicPart part;
      if (words.size() != 8 || words[2] != "channel" || words[4] != "program" ||
          words[6] != "velocity" || !ParseInt(words[3], 0, 15, part.channel) ||
          !ParseInt(words[5], 0, 127, part.program) || !ParseInt(words[7], 1, 127, part.velocity)) {
        return fail("a part is \"part NAME channel 0-15 program 0-127 velocity 1-127\"");
      }
      part.name = words[1];
      recipe.parts.push_back(part);
      barStart = 0;
      continue;
    }
    if (recipe.parts.empty()) return fail("notes before the first \"part\"");
    MusicPart& part = recipe.parts.back();
    for (const std::string& word : words) {
      if (word == "|") {
        const double barLength = part.lengthBeats - barStart;
        const bool pickupBar = barStart == 0 && recipe.pickupBeats > 0;
        const double expected = pickupBar ? recipe.pickupBeats : recipe.meter;
        if (std::abs(barLength - expected) > 1e-9) {
          return fail(std::string(pickupBar ? "the pickup" : "a bar") + " of part \"" + part.name +
                      "\" holds " + std::to_string(barLength) + " beats, not " +
                      std::to_string(expected));
        }
        barStart = part.lengthBeats;
        continue;
      }
      const size_t colon = word.find(':');
      MusicNote note;
      if (colon == std::string::npos || !ParseBeats(word.substr(colon + 1), note.beats)) {
        return fail("\"" + word + "\" is not a note with a length, such as C4:1");
      }
      const std::string keys = word.substr(0, colon);
      if (keys != "R") {
        std::istringstream in(keys);
        for (std::string name; std::getline(in, name, '+');) {
          int key = 0;
          if (!ParseKey(name, key)) return fail("\"" + name + "\" is not a note name");
          note.keys.push_back(key);
        }
      }
      note.startBeat = part.lengthBeats;
      part.lengthBeats += note.beats;
      part.notes.push_back(std::move(note));
    }
  }
  if (recipe.parts.empty()) return Error{source + ": the recipe has no part"};
  for (const MusicPart& part : recipe.parts) {
    if (std::abs(part.lengthBeats - recipe.parts[0].lengthBeats) > 1e-9) {
      return Error{source + ": the part \"" + part.name + "\" lasts " +
                   std::to_string(part.lengthBeats) + " beats, the part \"" + recipe.parts[0].name +
                   "\" " + std::to_string(recipe.parts[0].lengthBeats)};
    }
  }
  return recipe;
}

uint32_t LoopPointTicks() {
  return static_cast<uint32_t>(Sound::kLoopStartMusicTime * kTicksPerBeat / kMusicTimePerQuarter);
}

std::string EncodeMidi(const MusicRecipe& recipe) {
  const uint32_t lead =
      recipe.pickupBeats > 0
          ? LoopPointTicks() -
                static_cast<uint32_t>(std::lround(recipe.pickupBeats * kTicksPerBeat))
          : 0;
  std::vector<TimedEvent> events;
  const auto tempo = static_cast<uint32_t>(std::lround(60000000.0 / recipe.tempo));
  events.push_back({0, 0, std::string("\xFF\x51\x03", 3)});
  PutBigEndian(events.back().bytes, tempo, 3);
  events.push_back({0, 0, std::string("\xFF\x58\x04", 3)});
  events.back().bytes += {static_cast<char>(recipe.meter), 2, 24, 8};
  uint32_t end = 0;
  for (const MusicPart& part : recipe.parts) {
    const char channel = static_cast<char>(part.channel);
    if (part.channel != kDrumChannel) {
      events.push_back(
          {0, 1, {static_cast<char>(0xC0 | channel), static_cast<char>(part.program)}});
    }
    for (const MusicNote& note : part.notes) {
      const auto on = lead + static_cast<uint32_t>(std::lround(note.startBeat * kTicksPerBeat));
      const auto length = static_cast<uint32_t>(std::lround(note.beats * kTicksPerBeat));
      const uint32_t off = on + length - std::min<uint32_t>(length / 8, 30);
      for (int key : note.keys) {
        events.push_back({on,
                          3,
                          {static_cast<char>(0x90 | channel), static_cast<char>(key),
                           static_cast<char>(part.velocity)}});
        events.push_back({off, 2, {static_cast<char>(0x80 | channel), static_cast<char>(key), 0}});
      }
    }
    end =
        std::max(end, lead + static_cast<uint32_t>(std::lround(part.lengthBeats * kTicksPerBeat)));
  }
  std::stable_sort(events.begin(), events.end(), [](const TimedEvent& a, const TimedEvent& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });
  std::string track;
  uint32_t now = 0;
  for (const TimedEvent& e : events) {
    PutVarLength(track, e.tick - now);
    track += e.bytes;
    now = e.tick;
  }
  PutVarLength(track, end - now);
  track += std::string("\xFF\x2F\x00", 3);

  std::string file = "MThd";
  PutBigEndian(file, 6, 4);
  PutBigEndian(file, 0, 2);  // format 0: one track
  PutBigEndian(file, 1, 2);
  PutBigEndian(file, kTicksPerBeat, 2);
  file += "MTrk";
  PutBigEndian(file, static_cast<uint32_t>(track.size()), 4);
  return file + track;
}

}  // namespace dovetail::tools
