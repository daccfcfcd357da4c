#include "foundation/SystemErrors.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace kzm {
namespace {

// What the user reads for the errors a save or a read meets. EPERM is what writing over an
// immutable file (chattr +i) gives, even to root: it is a matter of permission too.
TEST(SystemErrorsTest, TheUserReadsWhatWentWrong) {
  const struct {
    int error;
    const char* text;
  } cases[] = {
      {EPERM, "アクセスが許可されていません。"},
      {EACCES, "アクセスが許可されていません。"},
      {ENOSPC, "ディスクの空きがありません。"},
      {EROFS, "読み取り専用のディスクです。"},
      {EISDIR, "ファイルであるはずの場所にフォルダがあります。"},
      {ENOTDIR, "フォルダであるはずの場所にファイルがあります。"},
      {EXDEV, "システムエラーが起きました (エラー番号 18)。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error);
    EXPECT_EQ(SystemErrorText(c.error), c.text);
  }
}

}  // namespace
}  // namespace kzm
