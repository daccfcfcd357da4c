#pragma once

// Statement files of our own making for the tests: invented rows in each layout the program
// knows, in the encodings those banks and card companies use.

#include <string>
#include <string_view>

#include "foundation/Codec.h"
#include "foundation/Utf16.h"

namespace kzm::test {

inline std::string AsCp932(std::string_view utf8) {
  std::string bytes;
  if (!EncodeCp932(utf8, bytes)) throw std::runtime_error("sample not CP932");
  return bytes;
}
inline std::string AsUtf8Bom(std::string_view utf8) { return "\xEF\xBB\xBF" + std::string(utf8); }
inline std::string AsUtf16Le(std::string_view utf8) { return "\xFF\xFE" + Utf8ToUtf16Le(utf8); }
inline std::string AsUtf16Be(std::string_view utf8) {
  std::string units = Utf8ToUtf16Le(utf8);
  for (size_t i = 0; i + 1 < units.size(); i += 2) std::swap(units[i], units[i + 1]);
  return "\xFE\xFF" + units;
}

// 日付,摘要,…,支払い金額,預かり金額,差引残高 (CP932).
inline const char* const kBankDiary =
    "日付,摘要,摘要内容,支払い金額,預かり金額,差引残高\r\n"
    "2018/1/9,カード,ｺﾝﾋﾞﾆ ｻﾝﾌﾟﾙ,\"1,500\",,\"98,500\"\r\n"
    "2018/1/25,振込,ｷｭｳﾖ ﾃｽﾄｼｬ,,\"250,000\",\"348,500\"\r\n"
    "2018/1/27,ATM,引出,\"20,000\",,\"328,500\"\r\n";

// 年月日（和暦）,お引出し,お預入れ,… (CP932), with a preamble and a closing total.
inline const char* const kBankEra =
    "口座番号,普通 1234567\r\n"
    "照会期間,H30.01.01～H30.01.31\r\n"
    "\r\n"
    "年月日（和暦）,お引出し,お預入れ,お取引内容,残高\r\n"
    "H30.01.15,\"3,240\",,ﾃﾞﾝｷ ｻﾝﾌﾟﾙ,\"96,760\"\r\n"
    "H30.01.20,,\"1,000\",ﾘｿｸ,\"97,760\"\r\n"
    "合計,\"3,240\",\"1,000\",,\r\n";

// 取引日,入出金明細ＩＤ,受入金額（円）,払出金額（円）,… (UTF-8 with BOM).
inline const char* const kBankIds =
    "取引日,入出金明細ＩＤ,受入金額（円）,払出金額（円）,摘要,残高（円）\n"
    "20180720,A0001,,1200,ﾃﾞﾝﾜﾘｮｳ,50000\n"
    "20180721,A0002,3000,,ﾌﾘｺﾐ ﾔﾏﾀﾞ,53000\n";

// 日付,内容,出金金額(円),入金金額(円),残高(円) (UTF-16LE with BOM).
inline const char* const kBankPlain =
    "日付,内容,出金金額(円),入金金額(円),残高(円)\r\n"
    "2026年7月3日,ガス代,\"4,321\",,\"95,679\"\r\n"
    "2026年7月10日,利息,,3,\"95,682\"\r\n";

// 取引日,入出金(円),取引後残高(円),入出金内容 (UTF-8 without BOM).
inline const char* const kBankSigned =
    "取引日,入出金(円),取引後残高(円),入出金内容\n"
    "2026.07.28,-880,99120,デビット　ショップサンプル\n"
    "2026.07.29,+5000,104120,振込　テスト\n";

// 利用日,利用店名・商品名,…,利用金額,… (CP932), a refund negative.
inline const char* const kCard =
    "ご利用者,テスト　太郎様\r\n"
    "利用日,利用店名・商品名,利用者,支払方法,利用金額,支払金額\r\n"
    "2019/01/20,サンプル書店,本人,1回払い,\"2,980\",\"2,980\"\r\n"
    "2019/01/22,サンプル書店,本人,1回払い,-980,-980\r\n";

// A card file without a header, after the holder's line (UTF-8); no years, in a January bill.
inline const char* const kCardHeaderless =
    "テスト　太郎様,1234-****-****-5678,2027年1月ご請求分\n"
    "12/28,サンプルスーパー,\"1,234\",1,1,\"1,234\"\n"
    "1/3,サンプル薬局,980,1,1,980\n";

}  // namespace kzm::test
