#include "backup/BackupComment.h"

namespace kzm {

std::vector<std::string> CommentValues(const std::string& comment, std::string_view key) {
  std::vector<std::string> values;
  size_t start = 0;
  while (start < comment.size()) {
    size_t end = comment.find('\n', start);
    if (end == std::string::npos) end = comment.size();
    const std::string_view line(comment.data() + start, end - start);
    if (line.size() > key.size() && line.starts_with(key) && line[key.size()] == '\t') {
      values.emplace_back(line.substr(key.size() + 1));
    }
    start = end + 1;
  }
  return values;
}

std::string MakeComment(const std::string& reasonText, const std::vector<std::string>& unreadable) {
  std::string comment = "reason\t" + reasonText + "\n";
  for (const std::string& path : unreadable) comment += "unreadable\t" + path + "\n";
  return comment;
}

std::string UnreadableMessage(const std::vector<std::string>& unreadable) {
  std::string text = "読めないファイルがあったので、バックアップに入れられませんでした (ほかのファイルは入れました):";
  for (const std::string& path : unreadable) text += "\n  " + path;
  return text;
}

}  // namespace kzm
