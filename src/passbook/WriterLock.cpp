#include "passbook/WriterLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <string_view>
#include <thread>

#include "foundation/Text.h"
#include "foundation/ThisPc.h"

namespace kzm {

namespace {

std::string ProgramName() {
  std::string name;
  if (FILE* comm = std::fopen("/proc/self/comm", "r")) {
    char line[64] = {};
    if (std::fgets(line, sizeof line, comm)) name = std::string(Trim(line));
    std::fclose(comm);
  }
  return name.empty() ? "tavimrok" : name;
}

std::string HolderLine() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char since[32];
  std::strftime(since, sizeof since, "%Y/%m/%d %H:%M:%S", &local);
  return ProgramName() + " (プロセス番号 " + std::to_string(::getpid()) + "、" + since + " から)";
}

std::string HolderOf(int fd) {
  char text[256] = {};
  const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
  const std::string holder = n > 0 ? std::string(Trim(std::string_view(text, static_cast<size_t>(n)))) : std::string();
  return holder.empty() ? "ほかのプログラム" : holder;
}

}  // namespace

bool TWriterLock::Take(const std::string& folder, int waitMs, std::string& refusal) {
  if (Held() && m_folder == folder) return true;
  Release();
  const std::string path = folder + "/" + PcOwnName(kWriterLockFileName);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return true;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) {
      ::close(fd);
      return true;  // a file system without locks: better to work than to refuse
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      refusal = "この通帳はほかで書き込み中のため、変更できません。\n使っているもの: " + HolderOf(fd) +
                "\nそちらを終えてから、もう一度お試しください。";
      ::close(fd);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  const std::string holder = HolderLine() + "\n";
  if (::ftruncate(fd, 0) == 0) (void)!::pwrite(fd, holder.data(), holder.size(), 0);
  m_fd = fd;
  m_folder = folder;
  return true;
}

void TWriterLock::Release() {
  if (m_fd < 0) return;
  (void)::ftruncate(m_fd, 0);
  ::close(m_fd);
  m_fd = -1;
  m_folder.clear();
}

}  // namespace kzm
