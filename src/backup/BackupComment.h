#pragma once

// The zip comment of a backup (see Backup.h) and the message about files left out of one.

#include <string>
#include <string_view>
#include <vector>

namespace kzm {

// The comment's values of key, in order.
[[nodiscard]] std::vector<std::string> CommentValues(const std::string& comment, std::string_view key);
[[nodiscard]] std::string MakeComment(const std::string& reasonText, const std::vector<std::string>& unreadable);
[[nodiscard]] std::string UnreadableMessage(const std::vector<std::string>& unreadable);

}  // namespace kzm
