// The file writer against every kind of target a user's --out or Save may
// name: new and private files, links, FIFOs, devices, folders, read-only
// folders, a write cut short by a size limit and a full disk. Each case checks
// the outcome and its reason, the old bytes, the target's kind and mode, and
// that no temporary file is left behind (POSIX: links, FIFOs, modes, fork).
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/time/file_writer.h"
#include "tests/support/file_bytes.h"

namespace vemo {
namespace {

namespace fs = std::filesystem;

using vemo::testing::FileBytes;

void WriteAll(const fs::path& path, const std::string& text, mode_t mode = 0644) {
  std::ofstream(path, std::ios::binary) << text;
  ::chmod(path.c_str(), mode);
}

mode_t ModeOf(const fs::path& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
}

std::vector<std::string> Listing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

mode_t Umask() {
  const mode_t m = ::umask(0);
  ::umask(m);
  return m;
}

// Runs `write` in a child process (for limits and mounts that must not touch
// the test itself) and brings its result back through a pipe.
FileWriteResult InChild(const std::function<void()>& prepare, const std::function<FileWriteResult()>& write) {
  int fds[2];
  if (::pipe(fds) != 0) return {false, "pipe", false};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    prepare();
    const FileWriteResult r = write();
    const std::string out = std::string(r.ok ? "1" : "0") + (r.earlierFileKept ? "1" : "0") + r.reason;
    [[maybe_unused]] const ssize_t n = ::write(fds[1], out.data(), out.size());
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string in;
  char buffer[512];
  for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) in.append(buffer, static_cast<size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (in.size() < 2) return {false, "the child wrote nothing", false};
  return {in[0] == '1', in.substr(2), in[1] == '1'};
}

class FileWriterPosix : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("vemo-writer-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override {
    ::chmod(folder.c_str(), 0755);
    fs::remove_all(folder);
  }
  fs::path folder;
};

TEST_F(FileWriterPosix, EveryKindOfTarget) {
  const bool root = ::geteuid() == 0;
  const std::string fresh(100000, 'n');
  enum class Expect { Written, Refused };
  struct Case {
    const char* name;
    // Makes the target (and whatever stands around it); returns the path to
    // write, or "" to skip with a reason in *skip.
    std::function<std::string(const fs::path& dir, std::string* skip)> make;
    Expect expect;
    const char* reason;  // part of the reason, for a refusal
    // Where the bytes should land (the link's target) relative to dir.
    const char* lands;
    mode_t mode;  // expected permission bits of what is written (0: the default)
    // Runs the write in a child process that limits or mounts first.
    std::function<void(const fs::path& dir)> prepare;
  };
  const std::vector<Case> cases = {
      {"NewFile", [](const fs::path& d, std::string*) { return (d / "new.csv").string(); }, Expect::Written, "",
       "new.csv", 0, nullptr},
      {"PrivateFile",
       [](const fs::path& d, std::string*) {
         WriteAll(d / "private.usr", "old", 0600);
         return (d / "private.usr").string();
       },
       Expect::Written, "", "private.usr", 0600, nullptr},
      {"GroupReadableFile",
       [](const fs::path& d, std::string*) {
         WriteAll(d / "shared.csv", "old", 0640);
         return (d / "shared.csv").string();
       },
       Expect::Written, "", "shared.csv", 0640, nullptr},
      {"SymbolicLink",
       [](const fs::path& d, std::string*) {
         fs::create_directories(d / "real");
         WriteAll(d / "real" / "target.txt", "old", 0600);
         fs::create_symlink("real/target.txt", d / "link.csv");
         return (d / "link.csv").string();
       },
       Expect::Written, "", "real/target.txt", 0600, nullptr},
      {"DanglingLink",
       [](const fs::path& d, std::string*) {
         fs::create_symlink("made.txt", d / "dangling.csv");
         return (d / "dangling.csv").string();
       },
       Expect::Written, "", "made.txt", 0, nullptr},
      {"Fifo",
       [](const fs::path& d, std::string*) {
         ::mkfifo((d / "pipe").c_str(), 0600);
         return (d / "pipe").string();
       },
       Expect::Refused, "FIFO", "", 0, nullptr},
      {"Device",
       [root](const fs::path& d, std::string* skip) -> std::string {
         if (!root || ::mknod((d / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
           *skip = "making a device node needs root";
           return "";
         }
         return (d / "null").string();
       },
       Expect::Refused, "device", "", 0, nullptr},
      {"Folder",
       [](const fs::path& d, std::string*) {
         fs::create_directories(d / "sub");
         return (d / "sub").string();
       },
       Expect::Refused, "folder", "", 0, nullptr},
      {"MissingFolder", [](const fs::path& d, std::string*) { return (d / "none" / "x.csv").string(); },
       Expect::Refused, "No such file or directory", "", 0, nullptr},
      {"ReadOnlyFolder",
       [root](const fs::path& d, std::string* skip) -> std::string {
         fs::create_directories(d / "ro");
         WriteAll(d / "ro" / "kept.qel", "old", 0644);
         if (!root) ::chmod((d / "ro").c_str(), 0555);
         (void)skip;
         return (d / "ro" / "kept.qel").string();
       },
       Expect::Refused, "needs to create a file in", "", 0,
       // root is not stopped by modes: a read-only bind mount in a private
       // mount namespace stops it.
       [root](const fs::path& d) {
         if (!root) return;
         if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
             ::mount((d / "ro").c_str(), (d / "ro").c_str(), nullptr, MS_BIND, nullptr) != 0 ||
             ::mount(nullptr, (d / "ro").c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
           ::_exit(3);
         }
       }},
      {"WriteCutShortBySizeLimit",
       [](const fs::path& d, std::string*) {
         WriteAll(d / "big.csv", "old", 0600);
         return (d / "big.csv").string();
       },
       Expect::Refused, "File too large", "", 0,
       [](const fs::path&) {
         ::signal(SIGXFSZ, SIG_IGN);
         rlimit limit{};
         ::getrlimit(RLIMIT_FSIZE, &limit);
         limit.rlim_cur = 4096;
         ::setrlimit(RLIMIT_FSIZE, &limit);
       }},
      {"FullDisk",
       [root](const fs::path& d, std::string* skip) -> std::string {
         if (!root) {
           *skip = "a full tmpfs needs root (a private mount namespace)";
           return "";
         }
         fs::create_directories(d / "small");
         return (d / "small" / "full.svg").string();
       },
       Expect::Refused, "No space left on device", "", 0,
       [](const fs::path& d) {
         if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
             ::mount("tmpfs", (d / "small").c_str(), "tmpfs", 0, "size=64k") != 0) {
           ::_exit(3);
         }
         // An earlier picture that must survive.
         WriteAll(d / "small" / "full.svg", "old", 0644);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path dir = folder / c.name;
    fs::create_directories(dir);
    std::string skip;
    const std::string path = c.make(dir, &skip);
    if (path.empty()) {
      std::printf("  %s skipped: %s\n", c.name, skip.c_str());
      continue;
    }
    const mode_t kindBefore = ModeOf(path) & S_IFMT;
    // The write, then what can only be seen where it ran (inside a child's
    // mounts): whether an earlier file changed, whether anything is left over.
    auto writeAndLook = [&] {
      const bool earlier = fs::is_regular_file(fs::status(path));
      FileWriteResult r = WriteFileWhole(path, fresh);
      if (!r.ok && earlier && FileBytes(path) != "old") r.reason += " |the earlier file changed";
      if (!r.ok && r.earlierFileKept != earlier) r.reason += " |earlierFileKept is wrong";
      for (const fs::path& f : {dir, fs::path(FolderOf(path))}) {
        if (!fs::is_directory(f)) continue;
        for (const std::string& name : Listing(f)) {
          if (name.find(".vemo-") != std::string::npos) r.reason += " |left over: " + name;
        }
      }
      return r;
    };
    const FileWriteResult r = c.prepare ? InChild([&] { c.prepare(dir); }, writeAndLook) : writeAndLook();
    if (r.reason == "the child wrote nothing") {
      std::printf("  %s skipped: the mount namespace could not be set up\n", c.name);
      continue;
    }
    EXPECT_EQ(r.reason.find('|'), std::string::npos) << r.reason;
    // A link stays a link; a FIFO, device or folder stays what it was.
    const mode_t kindAfter = kindBefore != 0 ? kindBefore : (c.expect == Expect::Written ? S_IFREG : 0);
    EXPECT_EQ(ModeOf(path) & S_IFMT, kindAfter) << "the target's kind changed";
    if (c.expect == Expect::Written) {
      ASSERT_TRUE(r.ok) << r.reason;
      EXPECT_EQ(FileBytes(dir / c.lands), fresh);
      const mode_t wanted = c.mode != 0 ? c.mode : (0666 & ~Umask());
      EXPECT_EQ(ModeOf(dir / c.lands) & 07777, wanted);
    } else {
      EXPECT_FALSE(r.ok);
      EXPECT_NE(r.reason.find(c.reason), std::string::npos) << r.reason;
      EXPECT_NE(FileWriteFailureText(path, r).find(r.earlierFileKept ? "the earlier file is unchanged" : "nothing was written"),
                std::string::npos);
    }
  }
}

TEST_F(FileWriterPosix, NamesAreBytes) {
  const std::string name = (folder / "x\xff\x1b.png").string();
  ASSERT_TRUE(WriteFileWhole(name, "png").ok);
  EXPECT_EQ(Listing(folder), std::vector<std::string>{"x\xff\x1b.png"});
  const FileWriteResult refused = WriteFileWhole((folder / "none\n" / "y").string(), "x");
  EXPECT_EQ(FileWriteFailureText((folder / "none\n" / "y").string(), refused).find('\n'), std::string::npos);
}

TEST_F(FileWriterPosix, MovingToAFreeNameNeverReplacesAFile) {
  WriteAll(folder / "vemo.usr", "broken");
  WriteAll(folder / "vemo.usr.bad", "first");
  const std::vector<std::string> names = {(folder / "vemo.usr.bad").string(), (folder / "vemo.usr.bad.2").string()};
  std::string error;
  EXPECT_EQ(MoveToFreeName((folder / "vemo.usr").string(), names, &error), names[1]);
  EXPECT_EQ(FileBytes(names[0]), "first");
  EXPECT_EQ(FileBytes(names[1]), "broken");
  EXPECT_FALSE(fs::exists(folder / "vemo.usr"));
  WriteAll(folder / "again", "x");
  EXPECT_EQ(MoveToFreeName((folder / "again").string(), names, &error), "");
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(fs::exists(folder / "again"));
}

TEST_F(FileWriterPosix, ASignalRemovesTheTemporaryFileAndEndsTheProcess) {
  const fs::path target = folder / "events.csv";
  WriteAll(target, "old");
  const pid_t pid = ::fork();
  if (pid == 0) {
    RemoveTemporaryFilesOnSignal();
    FileReplacement replacement(target.string());
    replacement.Write(std::string(100000, 'x'));
    ::raise(SIGTERM);
    ::_exit(0);  // not reached
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  EXPECT_EQ(Listing(folder), std::vector<std::string>{"events.csv"});
  EXPECT_EQ(FileBytes(target), "old");
}

}  // namespace
}  // namespace vemo
