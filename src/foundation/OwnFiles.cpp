#include "foundation/OwnFiles.h"

#include "foundation/AtomicFile.h"
#include "foundation/Codec.h"
#include "foundation/SystemErrors.h"

namespace kzm {

bool ReadOwnFile(const std::string& path, size_t limit, const std::string& what, std::string& bytes,
                 std::string& error) {
  int code = 0;
  switch (ReadFileUpTo(path, limit, bytes, &code, TLinkRule::lrRefuse)) {
    case TReadStatus::rsRead: return true;
    case TReadStatus::rsMissing: bytes.clear(); return true;
    case TReadStatus::rsTooLarge: error = what + "「" + path + "」が大きすぎて読めません。"; return false;
    case TReadStatus::rsFailed: error = what + "「" + path + "」を読み込めません。\n" + SystemErrorText(code); return false;
  }
  return false;
}

bool WriteOwnFile(const std::string& path, std::string_view text, const std::string& what, std::string& error,
                  std::string_view keptBytes) {
  std::string bytes;
  std::string bad;
  if (!EncodeCp932(text, bytes, &bad)) {
    error = what + "「" + path + "」に保存できない文字「" + bad + "」があります。";
    return false;
  }
  bytes += keptBytes;
  std::string why;
  if (WriteFileAtomic(path, bytes, &why)) return true;
  error = (what.empty() ? std::string("ファイル") : what) + "を保存できません。\n" + why;  // why names path
  return false;
}

std::vector<std::string> NonEmptyLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

}  // namespace kzm
