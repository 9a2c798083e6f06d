// The one writer of every output file: exclusive temporaries, permissions, concurrent writers,
// signals during a write and the reason a failure gives.
#include "test_files.h"

#include <xelhost/AtomicFile.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

using xelhost::AtomicFile;
using xelhost::FileWriteError;
using xelimg_test::ReadBytes;
using xelimg_test::ScratchDir;
using xelimg_test::WriteBytes;

namespace {

std::vector<unsigned char> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

mode_t ModeOf(const std::filesystem::path& file) {
  struct stat info {};
  EXPECT_EQ(::stat(file.c_str(), &info), 0);
  return info.st_mode & 0777;
}

}  // namespace

TEST(AtomicFile, NeverOpensAFileOrSymlinkAtANameItMightPick) {
  ScratchDir dir;
  const auto target = dir / "out.bin";
  const auto victim = dir / "victim";
  WriteBytes(victim, Bytes("victim"));
  std::string next;
  {
    AtomicFile probe(target);
    next = probe.TempPath().filename().string();
  }
  // The names that follow the probe's in this process: symlinks to the victim and plain files.
  const std::string stem = next.substr(0, next.rfind('.') + 1);
  const unsigned counter = static_cast<unsigned>(std::stoul(next.substr(next.rfind('.') + 1)));
  for (unsigned i = 1; i <= 20; ++i) {
    const auto planted = dir / (stem + std::to_string(counter + i));
    if (i % 2 == 0) {
      std::filesystem::create_symlink(victim, planted);
    } else {
      WriteBytes(planted, Bytes("planted"));
    }
  }
  xelhost::WriteFileAtomically(target, Bytes("the output"));
  EXPECT_EQ(ReadBytes(target), Bytes("the output"));
  EXPECT_EQ(ReadBytes(victim), Bytes("victim"));
  for (unsigned i = 1; i <= 20; i += 2)
    EXPECT_EQ(ReadBytes(dir / (stem + std::to_string(counter + i))), Bytes("planted"));
  EXPECT_EQ(dir.Entries().size(), 22u);
}

TEST(AtomicFile, NewFilesFollowTheUmaskAndReplacedFilesKeepTheirMode) {
  ScratchDir dir;
  const mode_t previous = ::umask(027);
  xelhost::WriteFileAtomically(dir / "new", Bytes("a"));
  ::umask(previous);
  EXPECT_EQ(ModeOf(dir / "new"), 0640u);

  WriteBytes(dir / "private", Bytes("old"));
  ::chmod((dir / "private").c_str(), 0600);
  xelhost::WriteFileAtomically(dir / "private", Bytes("new"));
  EXPECT_EQ(ModeOf(dir / "private"), 0600u);
  EXPECT_EQ(ReadBytes(dir / "private"), Bytes("new"));
}

TEST(AtomicFile, NamesOfTheLongestAllowedLengthWork) {
  ScratchDir dir;
  const auto target = dir / std::string(NAME_MAX, 'n');
  xelhost::WriteFileAtomically(target, Bytes("long"));
  EXPECT_EQ(ReadBytes(target), Bytes("long"));
  EXPECT_EQ(dir.Entries().size(), 1u);
}

TEST(AtomicFile, FailuresReportTheirReasonAndLeaveTheTargetAlone) {
  ScratchDir dir;
  // Renaming a file over a directory fails after everything else worked.
  std::filesystem::create_directories(dir / "taken" / "inside");
  try {
    xelhost::WriteFileAtomically(dir / "taken", Bytes("x"));
    FAIL() << "a file replaced a directory";
  } catch (const FileWriteError& error) {
    const std::string message = error.what();
    EXPECT_NE(message.find("cannot replace"), std::string::npos) << message;
    EXPECT_EQ(message.find("Success"), std::string::npos) << message;
  }
  EXPECT_THROW(xelhost::WriteFileAtomically(dir / "missing" / "x", Bytes("x")), FileWriteError);
  EXPECT_THROW(AtomicFile(dir.Path() / ""), FileWriteError);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"taken"});

  // Without Commit the target stays as it was.
  WriteBytes(dir / "kept", Bytes("before"));
  {
    AtomicFile abandoned(dir / "kept");
    abandoned.Write(std::string("half"));
  }
  EXPECT_EQ(ReadBytes(dir / "kept"), Bytes("before"));
  EXPECT_EQ(dir.Entries().size(), 2u);
}

TEST(AtomicFile, ConcurrentWritersToOneTargetAlwaysLeaveAWholeFile) {
  ScratchDir dir;
  const auto target = dir / "shared.bin";
  constexpr int kWriters = 6;
  constexpr int kRounds = 25;
  // Each writer's content is long enough to take several writes, and tells whose it is throughout.
  const auto contentOf = [](int writer) {
    return std::vector<unsigned char>(200000, static_cast<unsigned char>('a' + writer));
  };
  std::atomic<bool> torn{false};
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([&, w] {
      for (int round = 0; round < kRounds; ++round) {
        xelhost::WriteFileAtomically(target, contentOf(w));
        const std::vector<unsigned char> seen = ReadBytes(target);
        if (seen.size() != 200000 || std::count(seen.begin(), seen.end(), seen[0]) != 200000) torn = true;
      }
    });
  }
  for (std::thread& writer : writers) writer.join();
  EXPECT_FALSE(torn);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"shared.bin"});
}

TEST(AtomicFile, TerminationSignalsRemoveTheTemporaryAndStillEndTheProcess) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGPIPE, SIGXFSZ, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGPROF}) {
    ScratchDir dir;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      AtomicFile unfinished(dir / "out.bin");
      unfinished.Write(std::string(100000, 'x'));
      ::kill(::getpid(), signal);
      ::_exit(0);  // not reached: the signal ends the process
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "signal " << signal << ", status " << status;
    EXPECT_TRUE(dir.Entries().empty()) << "signal " << signal << ": " << dir.Entries().front();
  }
}

TEST(AtomicFile, TheNextWriterOfATargetRemovesWhatAKilledWriterLeftForIt) {
  ScratchDir dir;
  // A child killed outright mid-write leaves its temporary; its pid is then free.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    AtomicFile unfinished(dir / "out.bin");
    unfinished.Write(std::string(1000, 'x'));
    ::kill(::getpid(), SIGKILL);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_EQ(dir.Entries().size(), 1u);
  const std::string leftover = dir.Entries().front();
  EXPECT_TRUE(leftover.starts_with(".out.bin.~" + std::to_string(child) + ".")) << leftover;
  // A temporary of a live process (the init process never ends) and one of another target stay.
  WriteBytes(dir / ".out.bin.~1.0", Bytes("live"));
  WriteBytes(dir / (".other.bin.~" + std::to_string(child) + ".0"), Bytes("another target"));

  xelhost::WriteFileAtomically(dir / "out.bin", Bytes("whole"));
  EXPECT_EQ(dir.Entries(),
            (std::vector<std::string>{".other.bin.~" + std::to_string(child) + ".0", ".out.bin.~1.0", "out.bin"}));
  EXPECT_EQ(ReadBytes(dir / "out.bin"), Bytes("whole"));
}
