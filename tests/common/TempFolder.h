#pragma once

// Test helpers shared by every test program (header only, so any area can include it).

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>

namespace kzm::test {

// A fresh folder under the system temporary folder, removed with everything in it at the
// end of the test.
class TTempFolder {
 public:
  TTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kzmtest-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
  }
  ~TTempFolder() {
    std::error_code ec;
    // Tests may have taken away write permission to provoke failures.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      if (it->is_directory(ec)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
      }
    }
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  // The folder, without trailing "/".
  [[nodiscard]] const std::string& Path() const { return m_path; }
  // Path() + "/" + name.
  [[nodiscard]] std::string File(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

// Writes bytes to a file (test set-up only).
inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// The bytes of a file, empty when missing.
inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Every file below folder with its bytes, by path relative to folder: a picture of a folder
// to compare before and after. A passbook's writer lock (under any PC's name) holds no data
// and is left out.
inline std::map<std::string, std::string> FilesUnder(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && !(name.starts_with("Writer.") && name.ends_with(".lock"))) {
      files[std::filesystem::relative(entry.path(), folder).string()] = ReadBytes(entry.path().string());
    }
  }
  return files;
}

}  // namespace kzm::test
