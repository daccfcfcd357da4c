#pragma once

// One writer at a time per passbook, across processes: the window, each command of the
// command-line companion that changes the passbook. The lock is an advisory flock on the file
// "Writer.pc-<id>.lock" in the passbook folder (this PC's name, see ThisPc.h: flock holds on
// one PC only, and a file another PC wrote, brought by a sync engine, must never be the one
// locked or name a holder here), so a process that was killed holds nothing. Its holder
// writes who it is into the file, so that a writer turned away can say who has the passbook.
// Readers never take it and never wait.

#include <string>

namespace kzm {

inline constexpr const char* kWriterLockFileName = "Writer.lock";
// How long a writer waits for the one before it to finish.
inline constexpr int kWriterLockWaitMs = 3000;

class TWriterLock {
 public:
  TWriterLock() = default;
  ~TWriterLock() { Release(); }
  TWriterLock(const TWriterLock&) = delete;
  TWriterLock& operator=(const TWriterLock&) = delete;

  // Takes the lock of the passbook at folder, trying for up to waitMs. False when another
  // process holds it all that time: refusal then says so in Japanese, naming the holder. A
  // folder where the lock file cannot be made (read-only media) gives true without a lock:
  // nothing can be written there anyway.
  bool Take(const std::string& folder, int waitMs, std::string& refusal);
  void Release();
  // The passbook folder was renamed to folder; the lock moved with it.
  void Moved(const std::string& folder) { m_folder = folder; }
  [[nodiscard]] bool Held() const { return m_fd >= 0; }
  [[nodiscard]] const std::string& Folder() const { return m_folder; }

 private:
  int m_fd = -1;
  std::string m_folder;
};

}  // namespace kzm
