#include "routes/CounterLiveness.h"

#include <map>
#include <string>

#include "base/Utf8.h"
#include "scene/StoryCounters.h"

namespace dovetail {

std::array<int16_t*, 18> CounterFields(StoryCounters& c) {
  return {&c.kaiMon, &c.kaiAwa, &c.kaiTer, &c.kaiUmi, &c.kaiRoi, &c.set,
          &c.sai,    &c.izu,    &c.zou,    &c.cof,    &c.coc,    &c.nom,
          &c.jou,    &c.sak,    &c.nam,    &c.cre,    &c.kya,    &c.HappyCount};
}

namespace {

// The mask bit of a counter of `probe`.
uint32_t Bit(StoryCounters& probe, const int16_t* counter) {
  const auto fields = CounterFields(probe);
  for (size_t k = 0; k < fields.size(); ++k) {
    if (fields[k] == counter) return 1u << k;
  }
  return 0;
}

// The counters a record reads or changes.
uint32_t Uses(const ScriptRecord& record) {
  const std::string command(TrimBlanks(record.Command));
  StoryCounters probe;
  if (command.empty()) return 0;
  if (command[0] == 'e') return Bit(probe, &probe.HappyCount);
  if (command[0] == 'p' && command.ends_with('2')) return Bit(probe, &probe.set);
  if ((command[0] == 'p' || command[0] == 'i') && command.ends_with('1')) {
    return Bit(probe, CounterFor(probe, record.Text, command[0] == 'p'));
  }
  return 0;
}

// Where the story can go on from record i.
std::vector<int32_t> Successors(const ScriptTables& tables,
                                const std::map<int16_t, int32_t>& labels, int32_t i) {
  const ScriptRecord& record = tables.Script[i];
  const std::string command(TrimBlanks(record.Command));
  std::vector<int32_t> next;
  auto add = [&](int32_t pos) {
    if (pos >= 0 && pos <= tables.LastRecord) next.push_back(pos);
  };
  if (!command.empty() && (command[0] == 'e' || command[0] == 'q')) return next;
  const bool jumps =
      command == "g0" || (!command.empty() && (command[0] == 'i' || command[0] == 'd'));
  if (jumps) {
    const auto target = labels.find(record.Jump);
    if (target != labels.end()) add(target->second);
  }
  if (!command.empty() && command[0] == 's') {
    for (int32_t k = 0; k <= tables.LastChoice; ++k) {
      if (tables.ChoiceTable[k].Owner == record.Label) add(tables.ChoiceTable[k].Target);
    }
  }
  // Advancing: also after a jump that fails or does not happen, and after a
  // choice that cannot be shown.
  if (command != "g0" || !labels.contains(record.Jump)) add(i + 1);
  return next;
}

}  // namespace

CounterLiveness::CounterLiveness(const ScriptTables& tables)
    : live_(static_cast<size_t>(tables.LastRecord) + 1, 0) {
  std::map<int16_t, int32_t> labels;
  for (int32_t i = 0; i < tables.LabelCount; ++i)
    labels.emplace(tables.Labels[i].Label, tables.Labels[i].Index);
  std::vector<uint32_t> uses(live_.size(), 0);
  std::vector<std::vector<int32_t>> next(live_.size());
  for (int32_t i = 0; i <= tables.LastRecord; ++i) {
    uses[i] = Uses(tables.Script[i]);
    next[i] = Successors(tables, labels, i);
  }
  // Backwards until nothing changes (the story can loop).
  for (bool changed = true; changed;) {
    changed = false;
    for (int32_t i = tables.LastRecord; i >= 0; --i) {
      uint32_t live = uses[i];
      for (int32_t j : next[i])
        live |= live_[j];
      if (live != live_[i]) {
        live_[i] = live;
        changed = true;
      }
    }
  }
}

uint32_t CounterLiveness::At(int32_t pos) const {
  return pos >= 0 && static_cast<size_t>(pos) < live_.size() ? live_[pos] : ~0u;
}

}  // namespace dovetail
