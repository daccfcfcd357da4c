#pragma once

// The search export written as the results come, a batch at a time, so that a search of every
// month never holds all its results: the file takes its place only when committed, whole.

#include <string>
#include <vector>

#include "foundation/AtomicFile.h"
#include "passbook/MonthEntry.h"

namespace kzm {

class TSearchCsvFile {
 public:
  explicit TSearchCsvFile(const std::string& path) : m_file(path) {}

  // Each step is false, with error set for the user, when the file cannot be made, a result
  // holds a character CP932 lacks, or the file could not be written; the old file is then
  // left as it was.
  [[nodiscard]] bool Open(std::string& error);
  // One line per result, CP932, CR LF, in the order given.
  [[nodiscard]] bool Add(const std::vector<TkzmEntry>& results, std::string& error);
  [[nodiscard]] bool Commit(std::string& error);

 private:
  TAtomicFileStream m_file;
  std::string m_text;   // the lines of one batch, UTF-8
  std::string m_bytes;  // the same, encoded
};

}  // namespace kzm
