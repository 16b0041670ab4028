// Every vemo-cli --out writer against the targets a user may name: a private
// file, a symbolic link, a FIFO, a folder, a write cut short by a file-size
// limit and a name that is not UTF-8; and Ctrl+C or a kill while the output is
// on its way. Each case checks the exit status and message, the old bytes,
// the target's kind and mode, and that nothing of the writer's own is left.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/run_command.h"

namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

mode_t ModeOf(const fs::path& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
}

bool LeftOver(const fs::path& folder) {
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    if (e.path().filename().string().find(".vemo-") != std::string::npos) return true;
  }
  return false;
}

class OutFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // vemo-cli with `args`, in dir_, through /bin/sh; `limit` runs it under
  // "ulimit -f" (blocks of 512 bytes) with SIGXFSZ ignored, so that a write
  // past the limit fails as on a full disk.
  int Run(const std::string& args, int limit = 0) {
    const std::string prefix = limit > 0 ? "trap '' XFSZ; ulimit -f " + std::to_string(limit) + "; " : "";
    return vemo::testing::RunCommand(
        "( cd '" + dir_.string() + "' && " + prefix + "TZ=UTC0 '" VEMO_CLI_PROGRAM "' " + args + " )", output_);
  }

  fs::path dir_ = fs::temp_directory_path() / ("vemo-cli-out-" + std::to_string(::getpid()));
  std::string output_;
};

TEST_F(OutFiles, EveryWriterAgainstEveryKindOfTarget) {
  struct Writer {
    const char* name;
    std::string args;  // the command up to --out
    const char* extension;
  };
  std::vector<Writer> writers = {
      {"events", "events --from 2024-01-01 --to 2024-03-01 --kinds con --format csv --out ", ".csv"},
  };
#ifdef VEMO_CLI_CHART_MODULE
  writers.push_back({"chart PNG", "chart --mode natal1 --birth1 1990-05-05Z --out ", ".png"});
  writers.push_back({"chart SVG", "chart --mode natal1 --birth1 1990-05-05Z --out ", ".svg"});
#endif
  enum class Kind { PrivateFile, Link, Fifo, Folder, SizeLimit, NotUtf8 };
  for (const Writer& w : writers) {
    for (Kind kind : {Kind::PrivateFile, Kind::Link, Kind::Fifo, Kind::Folder, Kind::SizeLimit, Kind::NotUtf8}) {
      SetUp();
      SCOPED_TRACE(std::string(w.name) + " kind " + std::to_string(static_cast<int>(kind)));
      std::string name = std::string("out") + w.extension;
      fs::path lands = dir_ / name;  // where the bytes should end up
      int limit = 0;
      switch (kind) {
        case Kind::PrivateFile:
        case Kind::SizeLimit:
          std::ofstream(dir_ / name) << "old";
          ::chmod((dir_ / name).c_str(), 0600);
          limit = kind == Kind::SizeLimit ? 1 : 0;
          break;
        case Kind::Link:
          fs::create_directories(dir_ / "real");
          std::ofstream(dir_ / "real" / ("target" + std::string(w.extension))) << "old";
          ::chmod((dir_ / "real" / ("target" + std::string(w.extension))).c_str(), 0600);
          fs::create_symlink("real/target" + std::string(w.extension), dir_ / name);
          lands = dir_ / "real" / ("target" + std::string(w.extension));
          break;
        case Kind::Fifo:
          ASSERT_EQ(::mkfifo((dir_ / name).c_str(), 0600), 0);
          break;
        case Kind::Folder:
          fs::create_directories(dir_ / name);
          break;
        case Kind::NotUtf8:
          name = std::string("x\xff") + w.extension;
          lands = dir_ / name;
          break;
      }
      const mode_t kindBefore = ModeOf(dir_ / name) & S_IFMT;
      const int status = Run(w.args + "'" + name + "'", limit);
      const bool refused = kind == Kind::Fifo || kind == Kind::Folder || kind == Kind::SizeLimit;
      if (refused) {
        EXPECT_EQ(status, 1) << output_;
        const char* why = kind == Kind::Fifo ? "FIFO" : kind == Kind::Folder ? "folder" : "File too large";
        EXPECT_NE(output_.find(why), std::string::npos) << output_;
        const char* became = kind == Kind::SizeLimit ? "the earlier file is unchanged." : "nothing was written.";
        EXPECT_NE(output_.find(became), std::string::npos) << output_;
        EXPECT_NE(output_.find("write \"" + name + "\""), std::string::npos) << output_;
        if (kind == Kind::SizeLimit) {
          EXPECT_EQ(Contents(dir_ / name), "old");
        }
      } else {
        EXPECT_EQ(status, 0) << output_;
        EXPECT_TRUE(fs::is_regular_file(lands));
        EXPECT_NE(Contents(lands), "old");
        EXPECT_GT(fs::file_size(lands), 100u);
        if (kind != Kind::NotUtf8) {
          EXPECT_EQ(ModeOf(lands) & 07777, 0600u);
        }
      }
      // A link stays a link, a FIFO a FIFO, a folder a folder.
      EXPECT_EQ(ModeOf(dir_ / name) & S_IFMT, kindBefore == 0 ? S_IFREG : kindBefore);
      EXPECT_FALSE(LeftOver(dir_));
    }
  }
}

// A kill (or Ctrl+C) while vemo-cli events works towards its --out: the
// process ends by the signal, the earlier file is whole and no temporary file
// stays behind.
TEST_F(OutFiles, ASignalLeavesNoTemporaryFile) {
  for (int signal : {SIGTERM, SIGINT}) {
    SetUp();
    SCOPED_TRACE(signal);
    std::ofstream(dir_ / "events.csv") << "old";
    const std::string command = "cd '" + dir_.string() + "' && exec '" VEMO_CLI_PROGRAM
                                "' events --from 1900-01-01 --to 2100-01-01 --format csv --out events.csv "
                                "2>/dev/null";
    const pid_t pid = ::fork();
    if (pid == 0) {
      // A shell started in the background ignores SIGINT; the test's child
      // does not, as vemo-cli at a terminal would not.
      ::signal(SIGINT, SIG_DFL);
      ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    bool seen = false;
    for (int i = 0; i < 1000 && !seen; ++i) {
      seen = LeftOver(dir_);
      if (!seen) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(seen) << "no temporary file appeared";
    ::kill(pid, signal);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    EXPECT_FALSE(LeftOver(dir_));
    EXPECT_EQ(Contents(dir_ / "events.csv"), "old");
  }
}

}  // namespace
