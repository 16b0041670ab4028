#include "app/time/file_writer.h"

#include "app/time/date_texts.h"  // InProgramLanguage

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#include "app/time/escaped_text.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#endif

namespace vemo {

namespace {

// ---------------------------------------------------------------- temporary files a signal removes

// The paths of the temporary files that exist right now, for the signal
// handler: it may only read plain memory and call unlink, so the paths are
// copied into fixed slots. A slot is 0 free, 1 being filled, 2 in use.
constexpr int kSlots = 8;
constexpr std::size_t kSlotBytes = 4096;
std::atomic<int> slotState[kSlots];
char slotPath[kSlots][kSlotBytes];

int TakeSlot(const std::string& path) {
  if (path.size() >= kSlotBytes) return -1;
  for (int i = 0; i < kSlots; ++i) {
    int expected = 0;
    if (slotState[i].compare_exchange_strong(expected, 1)) {
      std::memcpy(slotPath[i], path.c_str(), path.size() + 1);
      slotState[i].store(2);
      return i;
    }
  }
  return -1;
}

void FreeSlot(int slot) {
  if (slot >= 0) slotState[slot].store(0);
}

#ifndef _WIN32
extern "C" void RemoveTemporariesAndDie(int signal) {
  for (int i = 0; i < kSlots; ++i) {
    if (slotState[i].load() == 2) ::unlink(slotPath[i]);
  }
  // The default action ends the process with the signal, as the caller
  // (a shell, a service manager) expects.
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}
#endif

// ---------------------------------------------------------------- names and reasons

std::string RandomName(const std::string& suffix) {
  thread_local std::mt19937_64 random(std::random_device{}() ^
                                      static_cast<std::uint64_t>(
                                          std::chrono::steady_clock::now().time_since_epoch().count()));
  char name[32];
  std::snprintf(name, sizeof name, ".vemo-%06x", static_cast<unsigned>(random() & 0xFFFFFF));
  return name + suffix;
}

std::string Joined(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder == ".") return name;
  const char last = folder.back();
  if (last == '/' || last == '\\') return folder + name;
  return folder + "/" + name;
}

const char* FolderReason() { return InProgramLanguage("it is a folder, not a file", "es ist ein Ordner, keine Datei"); }
const char* NotRegularReason() { return InProgramLanguage("it is not a regular file", "es ist keine gew\u00F6hnliche Datei"); }

// The C library's reason for an errno value ("No space left on device").
std::string SystemReason(int error) { return std::generic_category().message(error); }

// The note a write that cannot make its temporary file needs: the file
// itself may be writable, but it is replaced through a new file beside it.
std::string NeedsFolder(const std::string& reason, const std::string& folder) {
  if (ProgramLanguage() == kGerman) {
    return reason + " (vemo ersetzt Dateien immer ganz und muss dazu eine Datei in \u201E" + EscapedForDisplay(folder) +
           "\u201C anlegen)";
  }
  return reason + " (vemo replaces files whole and needs to create a file in \"" + EscapedForDisplay(folder) + "\")";
}

#ifdef _WIN32
std::wstring Wide(const std::string& path) { return std::filesystem::path(path).wstring(); }
// Windows' reason for its last error.
std::string LastErrorReason() { return std::system_category().message(static_cast<int>(GetLastError())); }
#endif

}  // namespace

// ---------------------------------------------------------------- results

std::string WhatBecameOfIt(const FileWriteResult& result) {
  return result.earlierFileKept ? InProgramLanguage("the earlier file is unchanged", "die bisherige Datei ist unver\u00E4ndert")
                                : InProgramLanguage("nothing was written", "es wurde nichts geschrieben");
}

std::string FileWriteFailureText(const std::string& path, const FileWriteResult& result) {
  const bool german = ProgramLanguage() == kGerman;
  return (german ? "\u201E" : "\"") + EscapedForDisplay(path) + (german ? "\u201C: " : "\": ") + result.reason + "; " +
         WhatBecameOfIt(result) + ".";
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of(
#ifdef _WIN32
      "/\\"
#else
      "/"
#endif
  );
  if (slash == std::string::npos) return ".";
  if (slash == 0) return path.substr(0, 1);
  return path.substr(0, slash);
}

std::string TemporaryFolder() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error || folder.empty()) return ".";
#ifdef _WIN32
  const std::u8string text = folder.u8string();
  return std::string(text.begin(), text.end());
#else
  return folder.string();
#endif
}

// ---------------------------------------------------------------- TemporaryFile

TemporaryFile::TemporaryFile(const std::string& folder, const std::string& suffix, bool defaultMode) {
  for (int attempt = 0; attempt < 64; ++attempt) {
    path_ = Joined(folder, RandomName(suffix));
#ifdef _WIN32
    (void)defaultMode;
    const int error = _wsopen_s(&fd_, Wide(path_).c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY | _O_NOINHERIT,
                                _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (error == 0) {
      created_ = true;
      slot_ = TakeSlot(path_);
      return;
    }
    const int code = error;
#else
    // 0600 until the target's own mode is given, so that a private file is
    // never readable by others on its way; a new file takes the default
    // (0666 less the umask) at once.
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, defaultMode ? 0666 : 0600);
    if (fd_ >= 0) {
      created_ = true;
      // Known to the signal handler only once it is ours: a name taken by
      // someone else meanwhile must never be removed.
      slot_ = TakeSlot(path_);
      return;
    }
    const int code = errno;
#endif
    fd_ = -1;
    if (code != EEXIST) {
      error_ = (code == EACCES || code == EPERM || code == EROFS) ? NeedsFolder(SystemReason(code), folder)
                                                                  : SystemReason(code);
      return;
    }
  }
  error_ = ProgramLanguage() == kGerman
               ? "kein freier Name f\u00FCr eine tempor\u00E4re Datei in \u201E" + EscapedForDisplay(folder) + "\u201C"
               : "no free name for a temporary file in \"" + EscapedForDisplay(folder) + "\"";
}

TemporaryFile::~TemporaryFile() {
  if (fd_ >= 0) {
#ifdef _WIN32
    _close(fd_);
#else
    ::close(fd_);
#endif
  }
  if (created_ && !kept_) {
#ifdef _WIN32
    _wunlink(Wide(path_).c_str());
#else
    ::unlink(path_.c_str());
#endif
  }
  FreeSlot(slot_);
}

bool TemporaryFile::Write(std::string_view bytes) {
  if (fd_ < 0) {
    if (error_.empty()) error_ = InProgramLanguage("the temporary file is closed", "die tempor\u00E4re Datei ist geschlossen");
    return false;
  }
  while (!bytes.empty()) {
#ifdef _WIN32
    const unsigned chunk = static_cast<unsigned>(std::min<std::size_t>(bytes.size(), 1u << 30));
    const int n = _write(fd_, bytes.data(), chunk);
#else
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
#endif
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      // A write that takes nothing without an error: the disk is full.
      error_ = SystemReason(n < 0 ? errno : ENOSPC);
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool TemporaryFile::FlushAndClose() {
  if (fd_ < 0) {
    if (error_.empty()) error_ = InProgramLanguage("the temporary file is closed", "die tempor\u00E4re Datei ist geschlossen");
    return false;
  }
#ifdef _WIN32
  const bool flushed = _commit(fd_) == 0;
  const int flushError = errno;
  const bool closed = _close(fd_) == 0;
#else
  const bool flushed = ::fsync(fd_) == 0;
  const int flushError = errno;
  const bool closed = ::close(fd_) == 0;
#endif
  const int closeError = errno;
  fd_ = -1;
  if (!flushed) error_ = SystemReason(flushError);
  else if (!closed) error_ = SystemReason(closeError);
  return flushed && closed;
}

bool TemporaryFile::ReadBack(const std::function<bool(std::string_view)>& take) {
#ifdef _WIN32
  std::FILE* file = _wfopen(Wide(path_).c_str(), L"rb");
#else
  std::FILE* file = std::fopen(path_.c_str(), "rb");
#endif
  if (file == nullptr) {
    error_ = SystemReason(errno);
    return false;
  }
  std::vector<char> piece(std::size_t{1} << 20);
  bool ok = true;
  for (;;) {
    const std::size_t n = std::fread(piece.data(), 1, piece.size(), file);
    if (n > 0 && !take(std::string_view(piece.data(), n))) {
      ok = false;
      if (error_.empty()) error_ = InProgramLanguage("stopped while reading back", "beim Zur\u00FCcklesen abgebrochen");
      break;
    }
    if (n < piece.size()) {
      if (std::ferror(file)) {
        error_ = SystemReason(errno != 0 ? errno : EIO);
        ok = false;
      }
      break;
    }
  }
  std::fclose(file);
  return ok;
}

void TemporaryFile::Keep() { kept_ = true; }

bool TemporaryFile::TakeModeOf(unsigned mode, long long owner, long long group) {
#ifdef _WIN32
  (void)mode;
  (void)owner;
  (void)group;
  return true;
#else
  if (fd_ < 0) return false;
  // Owner and group first: changing them may clear set-id bits that the mode
  // then puts back. Only root may give a file to someone else; the others'
  // files come back as their own, as any editor would leave them.
  if (::geteuid() == 0 && owner >= 0) {
    if (::fchown(fd_, static_cast<uid_t>(owner), static_cast<gid_t>(group)) != 0) return false;
  }
  return ::fchmod(fd_, static_cast<mode_t>(mode)) == 0;
#endif
}

// ---------------------------------------------------------------- FileReplacement

FileReplacement::FileReplacement(const std::string& path) : requested_(path) {
  if (path.empty()) {
    Fail(InProgramLanguage("no file name was given", "es wurde kein Dateiname angegeben"));
    return;
  }
  std::string current = path;
#ifdef _WIN32
  std::error_code ec;
  const auto status = std::filesystem::status(std::filesystem::path(current), ec);
  if (!ec && std::filesystem::exists(status)) {
    if (!std::filesystem::is_regular_file(status)) {
      Fail(std::filesystem::is_directory(status) ? FolderReason() : NotRegularReason());
      return;
    }
    existed_ = true;
  }
#else
  // Follow the links to the file they name (at most 40, as the kernel does).
  int hops = 0;
  for (;; ++hops) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0) {
      if (errno == ENOENT) break;  // a new file (also behind a dangling link)
      Fail(SystemReason(errno));
      return;
    }
    if (S_ISLNK(st.st_mode)) {
      if (hops == 40) {
        Fail(SystemReason(ELOOP));
        return;
      }
      std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
      const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
      if (n < 0 || static_cast<std::size_t>(n) >= link.size()) {
        Fail(n < 0 ? SystemReason(errno)
                   : InProgramLanguage("the link changed while it was read", "die Verkn\u00FCpfung \u00E4nderte sich beim Lesen"));
        return;
      }
      link.resize(static_cast<std::size_t>(n));
      current = !link.empty() && link.front() == '/' ? link : Joined(FolderOf(current), link);
      continue;
    }
    if (S_ISDIR(st.st_mode)) {
      Fail(FolderReason());
    } else if (S_ISFIFO(st.st_mode)) {
      Fail(InProgramLanguage("it is a FIFO (named pipe), not a regular file",
                             "es ist ein FIFO (benannte Pipe), keine gew\u00F6hnliche Datei"));
    } else if (S_ISSOCK(st.st_mode)) {
      Fail(InProgramLanguage("it is a socket, not a regular file", "es ist ein Socket, keine gew\u00F6hnliche Datei"));
    } else if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) {
      Fail(InProgramLanguage("it is a device, not a regular file", "es ist ein Ger\u00E4t, keine gew\u00F6hnliche Datei"));
    } else if (!S_ISREG(st.st_mode)) {
      Fail(NotRegularReason());
    }
    if (!result_.reason.empty()) return;
    existed_ = true;
    mode_ = static_cast<unsigned>(st.st_mode & 07777);
    owner_ = static_cast<long long>(st.st_uid);
    group_ = static_cast<long long>(st.st_gid);
    break;
  }
#endif
  target_ = current;
  folder_ = FolderOf(current);
  temporary_ = std::make_unique<TemporaryFile>(folder_, ".tmp", !existed_);
  if (!temporary_->Created()) {
    Fail(temporary_->Error());
    return;
  }
  if (existed_) temporary_->TakeModeOf(mode_, owner_, group_);
}

void FileReplacement::Fail(const std::string& reason) {
  result_.ok = false;
  result_.reason = reason;
  result_.earlierFileKept = existed_;
}

const std::string& FileReplacement::TemporaryPath() const {
  static const std::string none;
  return temporary_ ? temporary_->Path() : none;
}

bool FileReplacement::Write(std::string_view bytes) {
  if (!Ready()) return false;
  if (!temporary_->Write(bytes)) Fail(temporary_->Error());
  return Ready();
}

FileWriteResult FileReplacement::Commit() {
  if (!Ready()) return result_;
  if (!temporary_->FlushAndClose()) {
    Fail(temporary_->Error());
    return result_;
  }
#ifdef _WIN32
  if (!MoveFileExW(Wide(temporary_->Path()).c_str(), Wide(target_).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    Fail(LastErrorReason());
    return result_;
  }
  temporary_->Keep();
#else
  if (::rename(temporary_->Path().c_str(), target_.c_str()) != 0) {
    Fail(SystemReason(errno));
    return result_;
  }
  temporary_->Keep();
  // The rename itself reaches the disk with the folder.
  const int folder = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
#endif
  result_.ok = true;
  result_.reason.clear();
  return result_;
}

FileWriteResult WriteFileWhole(const std::string& path, std::string_view bytes) {
  FileReplacement replacement(path);
  replacement.Write(bytes);
  return replacement.Commit();
}

// ---------------------------------------------------------------- moving to a free name

std::string MoveToFreeName(const std::string& from, const std::vector<std::string>& names, std::string* error) {
  int lastError = EEXIST;
  for (const std::string& name : names) {
#ifdef _WIN32
    // Without MOVEFILE_REPLACE_EXISTING the move fails on a name that is taken.
    if (MoveFileExW(Wide(from).c_str(), Wide(name).c_str(), MOVEFILE_WRITE_THROUGH)) return name;
    const DWORD code = GetLastError();
    if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS) continue;
    if (error != nullptr) *error = LastErrorReason();
    return "";
#else
    // A hard link is made only where nothing stands, atomically; the name
    // `from` then goes.
    if (::link(from.c_str(), name.c_str()) == 0) {
      ::unlink(from.c_str());
      return name;
    }
    if (errno == EEXIST) continue;
    if (errno == EPERM || errno == ENOTSUP || errno == EOPNOTSUPP || errno == EMLINK) {
      // A file system without hard links: look, then rename.
      struct stat st {};
      if (::lstat(name.c_str(), &st) == 0) continue;
      if (::rename(from.c_str(), name.c_str()) == 0) return name;
    }
    lastError = errno;
    break;
#endif
  }
  if (error != nullptr) {
    *error = lastError == EEXIST ? InProgramLanguage("every name is taken", "jeder Name ist vergeben") : SystemReason(lastError);
  }
  return "";
}

void RemoveTemporaryFilesOnSignal() {
#ifndef _WIN32
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction old {};
    ::sigaction(signal, nullptr, &old);
    // A signal the caller ignores (nohup) stays ignored.
    if (old.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = RemoveTemporariesAndDie;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
  }
#endif
}

}  // namespace vemo
