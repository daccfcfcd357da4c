// Any bytes as an archive file: open it, then read every member through the stream.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "archive/ArchiveStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  char path[] = "/tmp/kzm-fuzz-arc-XXXXXX";
  const int fd = ::mkstemp(path);
  if (fd < 0) return 0;
  const bool written = ::write(fd, data, size) == static_cast<ssize_t>(size);
  ::close(fd);
  if (written) {
    try {
      kzm::TArchiveStream archive(path);
      for (int i = 0; i < archive.Files().Count(); ++i) {
        if (!archive.SelectIndex(i)) continue;
        (void)archive.ReadAll();
        archive.Seek(1, kzm::TSeekOrigin::End);
      }
      (void)archive.SelectName(std::string(reinterpret_cast<const char*>(data), size < 8 ? size : 8));
    } catch (const kzm::EarcSTreamError&) {
    }
  }
  ::unlink(path);
  return 0;
}
