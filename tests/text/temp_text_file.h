// A program-text file written into a fresh temporary folder for one test, removed with
// the object.
#ifndef VEMO_TESTS_TEXT_TEMP_TEXT_FILE_H
#define VEMO_TESTS_TEXT_TEMP_TEXT_FILE_H

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include <unistd.h>

namespace vemo::testing {

class TempTextFile {
 public:
  explicit TempTextFile(std::string_view content, std::string_view fileName = "qel.dat") {
    static std::atomic<int> counter{0};
    folder_ = std::filesystem::temp_directory_path() /
              ("vemo-text-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(folder_);
    path_ = folder_ / std::string(fileName);
    std::ofstream out(path_, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
  }
  ~TempTextFile() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  TempTextFile(const TempTextFile&) = delete;
  TempTextFile& operator=(const TempTextFile&) = delete;

  std::string folder() const { return folder_.string(); }
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path folder_;
  std::filesystem::path path_;
};

// n lines of the form "<first+i>\t0\ttext <first+i>\n", i = 0..n-1.
inline std::string NumberedItems(int first, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) {
    s += std::to_string(first + i) + "\t0\ttext " + std::to_string(first + i) + "\n";
  }
  return s;
}

}  // namespace vemo::testing

#endif
