// arcpack OUTPUT FILE...: builds a resource archive holding the files in the order given,
// each stored under its file name without folder ("std04.png"). The build uses it to make
// zevazuvu.arc from resources/archive/.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/ArchiveStream.h"
#include "archive/ArchiveWriter.h"
#include "foundation/AtomicFile.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: arcpack OUTPUT [FILE...]\n");
    return 2;
  }
  std::vector<kzm::TArchiveMember> members;
  for (int i = 2; i < argc; ++i) {
    const std::filesystem::path path(argv[i]);
    kzm::TArchiveMember member{path.filename().string(), {}};
    if (!kzm::ReadWholeFile(path.string(), member.bytes)) {
      std::fprintf(stderr, "arcpack: cannot read %s\n", argv[i]);
      return 1;
    }
    members.push_back(std::move(member));
  }
  // Written atomically, so an interrupted build never leaves half an archive.
  std::string error;
  if (!kzm::WriteFileAtomic(argv[1], kzm::BuildArchive(members, kzm::ArchiveDateStamp()), &error)) {
    std::fprintf(stderr, "arcpack: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
