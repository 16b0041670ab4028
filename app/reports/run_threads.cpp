// The run search over several threads. The dates a run tests follow one
// another by the step rules (a month step from 31 January gives 28 February,
// and the next 28 March), so one thread walks them, in blocks; the blocks go
// to worker threads, each with an engine of its own, which compute every date
// as a search step does. The earliest date that ends the run (the pattern
// found, a date refused or past the last) wins: blocks beyond it are not
// started, blocks before it are finished. The caller's engine then computes
// the dates at the end again, so that it holds what the one-thread search
// leaves, and the result (steps, date, message) is the one-thread result.
#include <algorithm>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <thread>
#include <vector>

#include "app/aspects/date_rows.h"
#include "app/reports/run_core.h"

namespace vemo::reports {

namespace {

enum class Outcome : unsigned char { Continue, Found, PastLast, Refused };

struct Block {
  long first = 0;               // step number of rows[0] (1 is the first date tested)
  std::vector<DateRow> rows;    // the world-date rows of its steps
  std::vector<Outcome> outcome;  // filled by a worker
  std::vector<double> ajd;
  bool done = false;
};

constexpr long kBlockSteps = 256;
constexpr long kNone = std::numeric_limits<long>::max();

// The shared state of one run: the date walk, the blocks and the earliest end.
struct Walk {
  std::mutex lock;
  std::condition_variable changed;
  std::vector<Block> blocks;
  DateRow last;                // the row the next step starts from
  long nextStep = 1;
  long stepFails = kNone;      // the step StepWorldDate could not take
  long earliestEnd = kNone;    // the earliest step found to end the run
  long stopAt = kNone;         // the progress callback stopped after this step
  size_t handedOut = 0;        // blocks given to workers
  int working = 0;
};

}  // namespace

RunSearchResult SearchForPatternOnThreads(AspectEngine& engine, const DateConversion& first,
                                          const RunSearchOptions& options, int jobs) {
  const StepCalendar calendar = DateLibraryStepCalendar();
  Walk walk;
  walk.last = first.row;

  // Makes block number n (under the lock); false when the walk has ended.
  auto makeBlock = [&](size_t n) {
    while (walk.blocks.size() <= n) {
      if (walk.stepFails != kNone || walk.nextStep > walk.stopAt || walk.nextStep > walk.earliestEnd) {
        return false;
      }
      Block block;
      block.first = walk.nextStep;
      while (static_cast<long>(block.rows.size()) < kBlockSteps) {
        StepDate date{walk.last.yearText, walk.last.monthIndex, walk.last.dayIndex, walk.last.hourIndex};
        if (!StepWorldDate(date, options.step, true, calendar)) {
          walk.stepFails = walk.nextStep;
          break;
        }
        DateRow next = walk.last;
        next.yearText = date.yearText;
        next.monthIndex = date.month;
        next.dayIndex = date.day;
        next.hourIndex = date.hourEntry;
        // As the computation writes it back: the row the next step starts from.
        const DateConversion c = InputDateToAJDate(next, options.localZoneIndex);
        if (c.ok()) next = c.row;
        block.rows.push_back(next);
        walk.last = next;
        ++walk.nextStep;
      }
      if (block.rows.empty()) return false;
      block.outcome.assign(block.rows.size(), Outcome::Continue);
      block.ajd.assign(block.rows.size(), 0.0);
      walk.blocks.push_back(std::move(block));
    }
    return true;
  };

  auto worker = [&]() {
    AspectEngine local = engine;
    StartRunState(local.Run, options.criteria);
    std::unique_lock<std::mutex> held(walk.lock);
    while (true) {
      const size_t n = walk.handedOut;
      if (!makeBlock(n)) break;
      ++walk.handedOut;
      Block& block = walk.blocks[n];
      const long firstStep = block.first;
      std::vector<DateRow> rows = block.rows;
      held.unlock();
      std::vector<Outcome> outcome(rows.size(), Outcome::Continue);
      std::vector<double> ajd(rows.size(), 0.0);
      for (size_t i = 0; i < rows.size(); ++i) {
        std::array<DateRow, 3> next{rows[i], DateRow{}, DateRow{}};
        BeforeRunCompute(local.Run);
        const ComputeStatus status = ComputeFromRows(local, Mode::WorldTransits, next, options.localZoneIndex,
                                                     options.settings, false, false);
        if (!status.Ok) {
          outcome[i] = Outcome::Refused;
        } else if (local.JulianDates[0] > options.lastAjd) {
          outcome[i] = Outcome::PastLast;
        } else {
          ajd[i] = local.JulianDates[0];
          if (RunCompletionCount(local, options.criteria) > 0) outcome[i] = Outcome::Found;
        }
        if (outcome[i] != Outcome::Continue) break;
      }
      held.lock();
      Block& done = walk.blocks[n];
      done.outcome = std::move(outcome);
      done.ajd = std::move(ajd);
      done.done = true;
      for (size_t i = 0; i < done.rows.size(); ++i) {
        if (done.outcome[i] != Outcome::Continue) {
          walk.earliestEnd = std::min(walk.earliestEnd, firstStep + static_cast<long>(i));
          break;
        }
      }
      walk.changed.notify_all();
    }
    --walk.working;
    walk.changed.notify_all();
  };

  std::vector<std::thread> threads;
  {
    std::lock_guard<std::mutex> held(walk.lock);
    walk.working = jobs;
  }
  for (int j = 0; j < jobs; ++j) threads.emplace_back(worker);

  // Progress in order, as the finished blocks reach it.
  {
    std::unique_lock<std::mutex> held(walk.lock);
    long reported = 0;
    size_t prefix = 0;
    bool ended = false;  // the progress has reached the end of the run
    while (true) {
      while (!ended && prefix < walk.blocks.size() && walk.blocks[prefix].done) {
        // By index: the blocks may move while the lock is let go below.
        for (size_t i = 0; i < walk.blocks[prefix].rows.size(); ++i) {
          const Block& block = walk.blocks[prefix];
          const long step = block.first + static_cast<long>(i);
          if (block.outcome[i] != Outcome::Continue || step >= walk.stopAt) {
            ended = true;
            break;
          }
          if (options.progress && step % kRunProgressSteps == 0 && step > reported) {
            reported = step;
            const double ajd = block.ajd[i];
            held.unlock();
            const bool goOn = options.progress(step, ajd);
            held.lock();
            if (!goOn) walk.stopAt = step;
          }
        }
        ++prefix;
      }
      if (walk.working == 0) break;
      walk.changed.wait(held);
    }
  }
  for (std::thread& t : threads) t.join();

  // Where the one-thread search would have ended, and how.
  RunSearchResult result;
  result.row = first.row;
  result.lastAjd = first.value;
  const long end = std::min({walk.stepFails, walk.earliestEnd, walk.stopAt == kNone ? kNone : walk.stopAt + 1});
  auto rowOf = [&walk](long step) -> const DateRow& {
    const Block& block = walk.blocks[static_cast<size_t>((step - 1) / kBlockSteps)];
    return block.rows[static_cast<size_t>(step - block.first)];
  };
  auto outcomeOf = [&walk](long step) {
    const Block& block = walk.blocks[static_cast<size_t>((step - 1) / kBlockSteps)];
    return block.outcome[static_cast<size_t>(step - block.first)];
  };
  Outcome how = Outcome::Continue;
  if (end == walk.earliestEnd && end != kNone) how = outcomeOf(end);
  const long tested = how == Outcome::Found ? end : end - 1;  // steps counted
  result.steps = tested;

  // The caller's engine: the last date tested in full, as the one-thread
  // search leaves it; then the ending date the way that search computed it.
  auto compute = [&](long step, bool marks) {
    std::array<DateRow, 3> rows{rowOf(step), DateRow{}, DateRow{}};
    BeforeRunCompute(engine.Run);
    const ComputeStatus status = ComputeFromRows(engine, Mode::WorldTransits, rows, options.localZoneIndex,
                                                 options.settings, false, marks);
    return std::make_pair(status, rows[0]);
  };
  StartRunState(engine.Run, options.criteria);
  if (tested > 0) {
    const auto [status, row] = compute(tested, true);
    result.row = row;
    result.lastAjd = engine.JulianDates[0];
  }
  switch (how) {
    case Outcome::Found:
      result.end = RunSearchEnd::Found;
      result.count = RunCompletionCount(engine, options.criteria);
      break;
    case Outcome::PastLast:
      result.end = RunSearchEnd::PastLast;
      compute(end, true);
      break;
    case Outcome::Refused: {
      result.end = RunSearchEnd::Refused;
      const auto [status, row] = compute(end, false);
      result.badRow = status.BadRow;
      result.errorCode = status.ErrorCode;
      break;
    }
    case Outcome::Continue:
      result.end = RunSearchEnd::Stopped;
      break;
  }
  EndRunState(engine.Run);
  return result;
}

}  // namespace vemo::reports
