// Worker threads of the processing base: every row handed out exactly once, each worker with its own
// copy of the record, the same threads frame after frame.
#include <XelImgProcess/CXelImgProcess.h>
#include <xelfw/InstanceRecord.h>
#include <xelfw/WorkerPool.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <set>
#include <thread>
#include <vector>

namespace {

struct RowRecord final : CXelWorkerThread_0::CParameter {
  std::atomic<int>* rowVisits = nullptr;
  int frame = 0;
  CParameter& Assign(const CParameter& other) override {
    const auto& source = static_cast<const RowRecord&>(other);
    rowVisits = source.rowVisits;
    frame = source.frame;
    return *this;
  }
};

struct Visit {
  std::thread::id thread;
  const CXelWorkerThread_0::CParameter* record;
  int frame;
};

class RowWorker final : public CXelWorkerThread_0 {
 public:
  RowWorker() { m_pParameter = &m_Record; }
  void Execute(UINT firstRow, UINT rowCount, const CParameter* record) override {
    const auto& rows = static_cast<const RowRecord&>(*record);
    for (UINT r = firstRow; r < firstRow + rowCount; ++r) rows.rowVisits[r].fetch_add(1);
    visits.push_back({std::this_thread::get_id(), record, rows.frame});
  }
  std::vector<Visit> visits;  // written only by this worker's thread during a run

 private:
  RowRecord m_Record;
};

class RowObject final : public CXelImgProcess {
 public:
  RowObject(CXelImgProcessInstance_0* record, UINT count) : CXelImgProcess(record) { PrepareWorkerThreads(count); }
  _EXIP_OBJTYPE GetObjType() const override { return XIP_OBJTYPE_NONE; }
  CWorkerThread* CreateWorkerThreadInstance() override {
    auto* worker = new RowWorker();
    workers.push_back(worker);
    return worker;
  }
  UINT Run(UINT threads, UINT rows, const RowRecord& record) { return ExecuteWorkerThreads(threads, rows, &record); }
  UINT Workers() const { return m_NumWorkerThreads; }
  std::vector<RowWorker*> workers;
};

std::vector<int> RunFrame(RowObject& object, UINT threads, UINT rows, int frame = 0) {
  std::vector<std::atomic<int>> visits(rows);
  RowRecord record;
  record.rowVisits = visits.data();
  record.frame = frame;
  EXPECT_EQ(object.Run(threads, rows, record), XIP_OK);
  std::vector<int> counts;
  for (const auto& v : visits) counts.push_back(v.load());
  return counts;
}

}  // namespace

TEST(WorkerPoolTest, EveryRowExactlyOnceForUnevenSplits) {
  xelfw::InstanceRecord record;
  RowObject object(&record, 7);
  ASSERT_EQ(object.Workers(), 7u);
  for (UINT rows : {1u, 6u, 7u, 8u, 13u, 1000u, 1081u}) {
    for (UINT threads : {2u, 3u, 7u}) {
      const std::vector<int> counts = RunFrame(object, threads, rows);
      EXPECT_EQ(counts, std::vector<int>(rows, 1)) << rows << " rows on " << threads << " threads";
    }
  }
}

TEST(WorkerPoolTest, NeverMoreThreadsThanRowsOrWorkers) {
  xelfw::InstanceRecord record;
  RowObject object(&record, 16);
  EXPECT_EQ(RunFrame(object, 16, 5), std::vector<int>(5, 1));
  std::size_t busy = 0;
  for (RowWorker* worker : object.workers) busy += worker->visits.size();
  EXPECT_EQ(busy, 5u);
  // Asking for more threads than were prepared uses the ones there are.
  EXPECT_EQ(RunFrame(object, 64, 100), std::vector<int>(100, 1));
}

TEST(WorkerPoolTest, EachWorkerRunsOnItsOwnThreadWithItsOwnRecordCopy) {
  xelfw::InstanceRecord record;
  RowObject object(&record, 4);
  for (int frame = 1; frame <= 50; ++frame) RunFrame(object, 4, 40, frame);
  std::set<std::thread::id> threads;
  for (RowWorker* worker : object.workers) {
    ASSERT_EQ(worker->visits.size(), 50u);
    const std::thread::id first = worker->visits.front().thread;
    EXPECT_NE(first, std::this_thread::get_id());
    threads.insert(first);
    for (std::size_t i = 0; i < worker->visits.size(); ++i) {
      EXPECT_EQ(worker->visits[i].thread, first) << "the pool keeps its threads between frames";
      EXPECT_EQ(worker->visits[i].record, worker->m_pParameter);
      EXPECT_EQ(worker->visits[i].frame, static_cast<int>(i) + 1);
    }
  }
  EXPECT_EQ(threads.size(), 4u);
}

TEST(WorkerPoolTest, RefusesRunsItCannotServe) {
  xelfw::InstanceRecord record;
  RowObject withoutWorkers(&record, 0);
  RowRecord rows;
  EXPECT_EQ(withoutWorkers.Run(2, 10, rows), XIP_E_BADARG);
  EXPECT_EQ(withoutWorkers.Run(2, 0, rows), XIP_OK);
}

TEST(WorkerPoolTest, SplitRowsCoversTheRangeInOrder) {
  for (UINT rows : {0u, 1u, 10u, 11u, 1079u}) {
    for (UINT parts : {1u, 2u, 3u, 8u}) {
      UINT next = 0;
      for (UINT i = 0; i < parts; ++i) {
        const xelfw::RowRange range = xelfw::SplitRows(rows, parts, i);
        EXPECT_EQ(range.first, next);
        EXPECT_LE(range.count, rows / parts + 1);
        next += range.count;
      }
      EXPECT_EQ(next, rows);
    }
  }
}

TEST(WorkerPoolTest, JobExceptionsReachTheCallerAfterAllJobsEnd) {
  xelfw::WorkerPool pool(3);
  std::atomic<int> finished{0};
  EXPECT_THROW(pool.Run(3,
                        [&](UINT index) {
                          if (index == 1) throw std::runtime_error("job failed");
                          finished.fetch_add(1);
                        }),
               std::runtime_error);
  EXPECT_EQ(finished.load(), 2);
  EXPECT_THROW(pool.Run(4, [](UINT) {}), std::invalid_argument);
}
