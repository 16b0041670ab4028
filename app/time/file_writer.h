// The one file writer: every file vemo writes (states, pictures, exports,
// vemo-cli --out) is written whole or not at all.
//
// The bytes go to a new file beside the file they replace, every write is
// checked, the file is flushed to the disk (fsync) and only then renamed over
// the target (and on POSIX the folder flushed after the rename), so a full
// disk, a size limit, a crash or a kill leaves the earlier file as it was.
// A symbolic link stays a link: the file it points to is replaced, with the
// new file made beside that one. A FIFO, socket, device or folder is refused
// and nothing is written, since replacing it by a regular file would cut off
// whoever reads it. A replaced file keeps its permission bits (and, for a
// process running as root, its owner and group); a new file gets the usual
// default. File names are bytes: a name is used exactly as given.
//
// On Windows the rename is MoveFileExW with MOVEFILE_REPLACE_EXISTING and
// MOVEFILE_WRITE_THROUGH; there are no links, FIFOs or modes to keep there.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vemo {

struct FileWriteResult {
  bool ok = false;
  // Why it failed: the system's reason ("No space left on device"), or why
  // the target was refused. "" on success.
  std::string reason;
  // A file stood at the target before and is unchanged (else nothing was
  // written at all).
  bool earlierFileKept = false;
};

// What a failure left behind: "the earlier file is unchanged" or "nothing
// was written".
std::string WhatBecameOfIt(const FileWriteResult& result);

// One line for a failure: "\"PATH\": REASON; the earlier file is unchanged."
// The path is escaped for display.
std::string FileWriteFailureText(const std::string& path, const FileWriteResult& result);

// A new file of the program's own with a free name in `folder`
// (".vemo-XXXXXX" + suffix, created exclusively, so no file of anyone else's
// is opened), removed again by the destructor unless it was kept. While it
// exists, a process that called RemoveTemporaryFilesOnSignal removes it when
// a signal ends the process.
class TemporaryFile {
 public:
  TemporaryFile(const std::string& folder, const std::string& suffix, bool defaultMode);
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool Created() const { return created_; }
  const std::string& Error() const { return error_; }
  const std::string& Path() const { return path_; }

  // Appends bytes; false (and Error) when not all were written.
  bool Write(std::string_view bytes);
  // Flushes to the disk and closes; the file stays until the destructor.
  bool FlushAndClose();
  // Reads what was written so far back from the start, in pieces of at
  // most a mebibyte, handing each to `take` (which returns false to stop).
  // False (and Error) when it cannot be read or `take` stopped.
  bool ReadBack(const std::function<bool(std::string_view)>& take);
  // The file is no longer removed by the destructor (renamed elsewhere).
  void Keep();
  // For FileReplacement: permission bits (and owner and group) to give it.
  bool TakeModeOf(unsigned mode, long long owner, long long group);

 private:
  std::string path_;
  std::string error_;
  int fd_ = -1;
  int slot_ = -1;
  bool created_ = false;
  bool kept_ = false;
};

// Replacing one file. The constructor follows links, refuses what is not a
// regular file and makes the temporary file beside the target; Write fills
// it (or a converter fills TemporaryPath() itself), Commit puts it in place.
// A replacement that is not committed leaves the target as it was and its
// temporary file removed.
class FileReplacement {
 public:
  explicit FileReplacement(const std::string& path);
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  bool Ready() const { return result_.reason.empty(); }
  // Why it is not ready, or how Write/Commit ended.
  const FileWriteResult& Result() const { return result_; }
  // The name as the caller gave it (for messages).
  const std::string& RequestedPath() const { return requested_; }
  // The file that is replaced (links followed) and its folder.
  const std::string& TargetPath() const { return target_; }
  const std::string& Folder() const { return folder_; }
  const std::string& TemporaryPath() const;

  bool Write(std::string_view bytes);
  // Flushes the temporary file, gives it the target's mode and renames it
  // over the target. result.ok only after the rename.
  FileWriteResult Commit();

 private:
  void Fail(const std::string& reason);

  std::string requested_;
  std::string target_;
  std::string folder_;
  bool existed_ = false;
  unsigned mode_ = 0;
  long long owner_ = -1;
  long long group_ = -1;
  FileWriteResult result_;
  std::unique_ptr<TemporaryFile> temporary_;
};

// Writes bytes to path whole or not at all (see the top of this file).
FileWriteResult WriteFileWhole(const std::string& path, std::string_view bytes);

// Moves `from` to the first of `names` that nothing stands at, never
// replacing a file (a name taken meanwhile is passed over). Returns the name
// used, or "" with *error the reason.
std::string MoveToFreeName(const std::string& from, const std::vector<std::string>& names, std::string* error);

// The folder part of a path ("." when it has none).
std::string FolderOf(const std::string& path);

// The system's folder for temporary files (TMPDIR, TMP or TEMP, else /tmp;
// on Windows GetTempPath), "." when none can be told.
std::string TemporaryFolder();

// vemo-cli: SIGINT, SIGTERM and SIGHUP remove the temporary files of writes in
// progress before the signal ends the process as it would have. Nothing to do
// on Windows.
void RemoveTemporaryFilesOnSignal();

}  // namespace vemo
