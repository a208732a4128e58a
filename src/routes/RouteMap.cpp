#include "routes/RouteMap.h"

#include <algorithm>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <variant>

#include "routes/RouteWalker.h"

namespace dovetail {

namespace {

using namespace walk;

// Story states the walk may meet before it gives up.
constexpr size_t kSegmentLimit = 50000;

// The walked graph: every segment once, by its resume point.
class RouteGraph {
 public:
  explicit RouteGraph(const ScriptTables& tables) : walker_(tables) {}

  std::optional<size_t> Start(std::optional<Resume> from) {
    if (!from) return std::nullopt;
    return Add(*from);
  }
  // Walks every segment reachable from those added.
  void Explore() {
    while (!pending_.empty()) {
      auto [id, from] = std::move(pending_.front());
      pending_.pop_front();
      std::vector<Resume> ways;
      Segment segment = walker_.Walk(from, ways);
      for (const Resume& way : ways) {
        if (segments_.size() >= kSegmentLimit) {
          walker_.Problems().push_back(
              {segment.label, "the story has more than " + std::to_string(kSegmentLimit) +
                                  " states at its choices; the walk stopped"});
          pending_.clear();
          break;
        }
        segment.next.push_back(Add(way));
      }
      segment.options.resize(segment.next.size());
      const std::string nodeKey = segment.stop == Segment::Stop::End
                                      ? std::string("end|") + RouteEndName(segment.end) + "|" +
                                            std::to_string(segment.label)
                                      : segment.stopKey;
      segment.node = nodes_.try_emplace(nodeKey, nodes_.size()).first->second;
      segments_[id] = std::move(segment);
    }
  }

  const std::vector<Segment>& Segments() const { return segments_; }
  std::vector<RouteProblem>& Problems() { return walker_.Problems(); }

 private:
  size_t Add(const Resume& from) {
    auto [it, added] = ids_.try_emplace(from.Key(walker_.Liveness()), segments_.size());
    if (added) {
      segments_.emplace_back();
      pending_.emplace_back(it->second, from);
    }
    return it->second;
  }

  RouteWalker walker_;
  std::map<std::string, size_t> ids_;
  std::map<std::string, size_t> nodes_;
  std::vector<Segment> segments_;
  std::deque<std::pair<size_t, Resume>> pending_;
};

// Branch k of a choice or grade test; an end is its node's branch 0.
uint64_t BranchId(size_t node, size_t k) {
  return (uint64_t{node} << 8) | k;
}

// A route passes a segment: its labels and save points.
void Pass(MappedRoute& route, const Segment& segment) {
  route.labels.insert(route.labels.end(), segment.labels.begin(), segment.labels.end());
  for (int16_t label : segment.saves)
    route.saves.push_back({label, route.story.list.size()});
}

// A route takes branch k of the choice or grade test its segment stops at.
void Take(MappedRoute& route, const Segment& segment, size_t k) {
  route.branches.push_back(BranchId(segment.node, k));
  if (segment.stop == Segment::Stop::Choice) {
    route.story.list.push_back(segment.options[k]);
  } else {
    route.grade = k == 0 ? GradeNeed::High : GradeNeed::Low;
  }
}

// A route reaches the end its last segment stops at.
MappedRoute Finished(MappedRoute route, const Segment& end) {
  std::sort(route.labels.begin(), route.labels.end());
  route.labels.erase(std::unique(route.labels.begin(), route.labels.end()), route.labels.end());
  route.end = end.end;
  route.endLabel = end.label;
  route.branches.push_back(BranchId(end.node, 0));
  return route;
}

// Lists the routes through the walked graph, depth first.
class RouteLister {
 public:
  RouteLister(const std::vector<Segment>& segments, RouteMap& map, size_t limit)
      : segments_(segments), map_(map), limit_(limit) {}

  void List(size_t start, StoryRoute::Start how) {
    route_ = MappedRoute{};
    route_.story.start = how;
    Visit(start);
  }

 private:
  void Visit(size_t id) {
    if (!map_.complete) return;
    const Segment& segment = segments_[id];
    const MappedRoute before = route_;
    Pass(route_, segment);
    if (segment.stop == Segment::Stop::End) {
      Emit(segment);
    } else if (!stopsOnPath_.insert(segment.stopKey).second) {
      if (loopsReported_.insert(segment.stopKey).second) {
        map_.problems.push_back({segment.label,
                                 "the story comes back to this choice with the same story "
                                 "state it had before (a loop)"});
      }
    } else {
      const MappedRoute atStop = route_;
      for (size_t k = 0; k < segment.next.size(); ++k) {
        Take(route_, segment, k);
        Visit(segment.next[k]);
        route_ = atStop;
      }
      stopsOnPath_.erase(segment.stopKey);
    }
    route_ = before;
  }

  void Emit(const Segment& segment) {
    if (map_.routes.size() >= limit_) {
      map_.complete = false;
      return;
    }
    map_.routes.push_back(Finished(route_, segment));
  }

  const std::vector<Segment>& segments_;
  RouteMap& map_;
  size_t limit_;
  std::set<std::string> stopsOnPath_;
  std::set<std::string> loopsReported_;
  MappedRoute route_;
};

// Routes through the walked graph that together take every branch and reach
// every end: each route from a start, at each choice the first branch not
// taken yet, else one from which a branch not taken yet can be reached, until
// no start leads to one.
class RouteCoverer {
 public:
  explicit RouteCoverer(const std::vector<Segment>& segments) : segments_(segments) {}

  std::vector<MappedRoute> Cover(const std::vector<std::pair<size_t, StoryRoute::Start>>& starts) {
    std::vector<MappedRoute> routes;
    for (bool progressed = true; progressed;) {
      progressed = false;
      MarkReach();
      for (const auto& [start, how] : starts) {
        if (!reach_[start]) continue;
        std::optional<MappedRoute> route = Walk(start, how);
        if (!route) continue;
        size_t added = 0;
        for (uint64_t branch : route->branches)
          added += taken_.insert(branch).second ? 1 : 0;
        if (added == 0) continue;
        routes.push_back(std::move(*route));
        progressed = true;
        MarkReach();
      }
    }
    return routes;
  }

 private:
  bool Untaken(const Segment& segment, size_t k) const {
    return !taken_.contains(BranchId(segment.node, k));
  }

  // reach_[id]: a branch not taken yet lies on some way on from segment id.
  void MarkReach() {
    reach_.assign(segments_.size(), false);
    for (bool changed = true; changed;) {
      changed = false;
      for (size_t id = 0; id < segments_.size(); ++id) {
        if (reach_[id]) continue;
        const Segment& segment = segments_[id];
        bool reach = segment.stop == Segment::Stop::End && Untaken(segment, 0);
        for (size_t k = 0; k < segment.next.size() && !reach; ++k)
          reach = Untaken(segment, k) || reach_[segment.next[k]];
        if (reach) {
          reach_[id] = true;
          changed = true;
        }
      }
    }
  }

  std::optional<MappedRoute> Walk(size_t id, StoryRoute::Start how) {
    MappedRoute route;
    route.story.start = how;
    std::set<std::string> stopsOnPath;
    while (true) {
      const Segment& segment = segments_[id];
      Pass(route, segment);
      if (segment.stop == Segment::Stop::End) return Finished(std::move(route), segment);
      stopsOnPath.insert(segment.stopKey);
      std::optional<size_t> pick;
      int best = -1;
      for (size_t k = 0; k < segment.next.size(); ++k) {
        const Segment& next = segments_[segment.next[k]];
        if (next.stop != Segment::Stop::End && stopsOnPath.contains(next.stopKey)) continue;
        const int score = Untaken(segment, k) ? 2 : reach_[segment.next[k]] ? 1 : 0;
        if (score > best) {
          best = score;
          pick = k;
        }
      }
      if (!pick) return std::nullopt;  // every way on loops back
      Take(route, segment, *pick);
      id = segment.next[*pick];
    }
  }

  const std::vector<Segment>& segments_;
  std::set<uint64_t> taken_;
  std::vector<bool> reach_;
};

}  // namespace

const char* RouteEndName(RouteEnd end) {
  switch (end) {
    case RouteEnd::Ending:
      return "ending";
    case RouteEnd::StaffRoll:
      return "staff roll";
    case RouteEnd::ScriptEnd:
      return "script end";
    case RouteEnd::Quit:
      return "quit";
    case RouteEnd::Stall:
      return "stall";
  }
  return "";
}

RouteMap MapRoutes(const ScriptTables& tables, size_t limit) {
  RouteGraph graph(tables);
  RouteWalker title(tables);
  const std::optional<size_t> newStory = graph.Start(title.NewStory());
  const std::optional<size_t> extraStory = graph.Start(title.ExtraStory());
  graph.Explore();

  RouteMap map;
  map.problems = std::move(graph.Problems());
  RouteLister lister(graph.Segments(), map, limit);
  std::vector<std::pair<size_t, StoryRoute::Start>> starts;
  if (newStory) starts.emplace_back(*newStory, StoryRoute::Start::New);
  if (extraStory) starts.emplace_back(*extraStory, StoryRoute::Start::Extra);
  for (const auto& [start, how] : starts)
    lister.List(start, how);
  map.covering = RouteCoverer(graph.Segments()).Cover(starts);

  std::set<int16_t> reached;
  for (const Segment& segment : graph.Segments()) {
    reached.insert(segment.labels.begin(), segment.labels.end());
    if (segment.arrived) reached.insert(*segment.arrived);
  }
  for (int32_t i = 0; i < tables.LabelCount; ++i) {
    const LabelEntry& entry = tables.Labels[i];
    // A label of the closing record alone, which the story never runs.
    if (entry.Index == tables.LastRecord) continue;
    if (!reached.contains(entry.Label)) map.unreached.push_back(entry.Label);
  }
  std::sort(map.unreached.begin(), map.unreached.end());
  return map;
}

}  // namespace dovetail
