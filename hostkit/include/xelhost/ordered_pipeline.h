// Frames through several workers at once, delivered in their order, with a few frames in flight.
#pragma once

#include <xelhost/frame_inputs.h>
#include <xelhost/framework_types.h>
#include <xelhost/memory_budget.h>

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace xelhost {

// What a worker made of a frame, or why it could not.
template <class Result>
struct FrameOutcome {
  InputFrame frame;  // its image is gone once the worker has taken it
  std::optional<Result> result;
  std::string error;
};

// How the frames in flight share the memory limit: each draws its cost from the budget as it is
// decoded and gives it back when its worker is done with it (what a worker hands on to deliver, such
// as compressed output, is not counted).
struct PipelineBudget {
  MemoryBudget& budget;
  FrameCost cost;
};

// Runs `jobs` workers, each made by makeWorker on its own thread, over the frames of the sequence,
// and hands each outcome to deliver on the calling thread in frame order. The pages of a sequence
// file are read by one worker at a time, in order, one-frame files by all at once. At most
// 2 × jobs frames are read and not yet delivered, so memory does not grow with the length of the
// sequence. A worker's exception fails its frame only; an exception from deliver or makeWorker
// stops the run and is rethrown here.
// With a budget, a frame waits while the others in flight hold what it needs and fails only when it
// needs more than the whole limit, so the number of jobs changes the speed, never which frames are
// converted. Waiting cannot block the run: only frames being worked on hold the budget, and each gives
// it back before it waits for anything else.
template <class Result, class Worker>
void RunOrderedPipeline(FrameSequence& frames, unsigned jobs,
                        const std::function<std::unique_ptr<Worker>()>& makeWorker,
                        const std::function<void(FrameOutcome<Result>&)>& deliver,
                        const PipelineBudget* budget = nullptr) {
  std::mutex mutex;
  std::condition_variable changed;
  std::map<std::size_t, FrameOutcome<Result>> done;
  const std::size_t window = 2 * std::size_t{jobs};
  std::size_t read = 0;
  std::size_t delivered = 0;
  bool finished = false;  // the sequence has no more frames
  bool stopping = false;
  std::size_t running = jobs;
  std::exception_ptr failure;

  const auto work = [&] {
    std::unique_ptr<Worker> worker;
    try {
      worker = makeWorker();
    } catch (...) {
      std::lock_guard lock(mutex);
      if (!failure) failure = std::current_exception();
      stopping = true;
    }
    for (;;) {
      FrameOutcome<Result> outcome;
      std::optional<FrameCharges> charges;
      if (budget != nullptr) charges.emplace(budget->budget, budget->cost);
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return stopping || finished || read < delivered + window; });
        if (stopping || finished) break;
        try {
          std::optional<InputFrame> frame = frames.Next();
          if (!frame) {
            finished = true;
            break;
          }
          outcome.frame = std::move(*frame);
          ++read;
        } catch (...) {
          if (!failure) failure = std::current_exception();
          stopping = true;
          break;
        }
      }
      frames.Load(outcome.frame);
      if (outcome.frame.image) {
        try {
          outcome.result.emplace((*worker)(outcome.frame));
        } catch (const std::exception& error) {
          outcome.error = error.what();
        }
        outcome.frame.image.reset();
      } else {
        outcome.error = outcome.frame.error;
      }
      // Before the lock: a worker reading the next frame may wait for these bytes while holding it.
      charges.reset();
      std::lock_guard lock(mutex);
      done.emplace(outcome.frame.index, std::move(outcome));
      changed.notify_all();
    }
    std::lock_guard lock(mutex);
    --running;
    changed.notify_all();
  };

  std::vector<std::jthread> threads;
  for (unsigned i = 0; i < jobs; ++i) threads.emplace_back(work);

  std::unique_lock lock(mutex);
  for (;;) {
    changed.wait(lock, [&] { return stopping || done.count(delivered) != 0 || (running == 0 && done.empty()); });
    if (stopping || done.count(delivered) == 0) break;
    FrameOutcome<Result> outcome = std::move(done.extract(delivered).mapped());
    lock.unlock();
    try {
      deliver(outcome);
    } catch (...) {
      lock.lock();
      if (!failure) failure = std::current_exception();
      stopping = true;
      break;
    }
    lock.lock();
    ++delivered;
    changed.notify_all();
  }
  stopping = true;
  changed.notify_all();
  lock.unlock();
  threads.clear();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace xelhost
