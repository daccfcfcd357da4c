#include "foundation/SystemErrors.h"

#include <cerrno>

namespace kzm {

std::string SystemErrorText(int error) {
  switch (error) {
    case ENOSPC: return "ディスクの空きがありません。";
    case EDQUOT: return "ディスクの使用量の上限に達しています。";
    case EACCES:
    case EPERM: return "アクセスが許可されていません。";
    case ENAMETOOLONG: return "ファイル名が長すぎます。";
    case EROFS: return "読み取り専用のディスクです。";
    case ENOENT: return "ファイルまたはフォルダが見つかりません。";
    case ENOTDIR: return "フォルダであるはずの場所にファイルがあります。";
    case EISDIR: return "ファイルであるはずの場所にフォルダがあります。";
    case ELOOP: return "ファイルであるはずの場所に、別の場所を指すリンクがあります。";
    case ENXIO: return "ファイルであるはずの場所に、名前付きパイプや装置などふつうのファイルでないものがあります。";
    case EIO: return "ディスクの読み書きに失敗しました。";
    case EMFILE:
    case ENFILE: return "開いているファイルが多すぎます。";
    case ENOMEM: return "メモリが足りません。";
    case EFBIG: return "ファイルが大きすぎます。";
    case EBUSY:
    case ETXTBSY: return "ファイルが使用中です。";
    default: return "システムエラーが起きました (エラー番号 " + std::to_string(error) + ")。";
  }
}

}  // namespace kzm
