// arcpack OUTPUT FILE...: builds a resource archive holding the files in the order given,
// each stored under its file name without folder ("std04.png"). The build uses it to make
// zevazuvu.arc from resources/archive/.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "graphics/ArchiveStream.h"
#include "graphics/ArchiveWriter.h"

namespace {

bool ReadFile(const std::filesystem::path& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// Writes beside the target and renames, so an interrupted build never leaves half an archive.
bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  const std::filesystem::path temp = path.string() + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) return false;
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  return !ec;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: arcpack OUTPUT [FILE...]\n");
    return 2;
  }
  std::vector<kzm::TArchiveMember> members;
  for (int i = 2; i < argc; ++i) {
    const std::filesystem::path path(argv[i]);
    kzm::TArchiveMember member{path.filename().string(), {}};
    if (!ReadFile(path, member.bytes)) {
      std::fprintf(stderr, "arcpack: cannot read %s\n", argv[i]);
      return 1;
    }
    members.push_back(std::move(member));
  }
  if (!WriteFile(argv[1], kzm::BuildArchive(members, kzm::ArchiveDateStamp()))) {
    std::fprintf(stderr, "arcpack: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
