#pragma once

// Statements of our own making in the layouts people download from banks, card companies,
// electronic money, transit cards and payment apps: the column names as those services
// describe them in public, every row invented. Balances follow the amounts.

#include <string>

namespace kzm::test {

// Payee text split over 摘要 and 摘要内容.
inline const char* const kBankTwoTexts =
    "日付,摘要,摘要内容,支払い金額,預かり金額,差引残高,メモ,未資金化区分,入払区分\r\n"
    "2026/7/1,口座振替,トウキヨウトスイドウ,\"3,210\",,\"96,790\",,,支払い\r\n"
    "2026/7/1,口座振替,サンプルデンワ,\"4,000\",,\"92,790\",,,支払い\r\n"
    "2026/7/10,振込,ｻﾝﾌﾟﾙｼﾖｳｼﾞ,,\"200,000\",\"292,790\",,,入金\r\n";

// 年月日,お引出し,お預入れ,お取り扱い内容,残高,メモ,ラベル: no 和暦, the text after the amounts.
inline const char* const kBankWithdrawDeposit =
    "年月日,お引出し,お預入れ,お取り扱い内容,残高,メモ,ラベル\r\n"
    "2026/7/1,,\"250,000\",ｷﾕｳﾖ ｻﾝﾌﾟﾙｼﾔ,\"310,000\",,\r\n"
    "2026/7/2,\"10,000\",,ATM,\"300,000\",,\r\n"
    "2026/7/5,\"1,980\",,ﾃﾞﾋﾞﾂﾄ ｻﾝﾌﾟﾙ,\"298,020\",,\r\n";

// 日付,お引出金額,お預入金額,お取引内容,残高,メモ.
inline const char* const kBankMizuhoStyle =
    "日付,お引出金額,お預入金額,お取引内容,残高,メモ\r\n"
    "2026/07/03,\"5,000\",,ｶ-ﾄﾞ,\"45,000\",\r\n"
    "2026/07/04,,123,ﾘｿｸ,\"45,123\",\r\n";

// 取引日,入出金明細ＩＤ,受入金額（円）,払出金額（円）,詳細１,詳細２,現在（貸付）高.
inline const char* const kBankTwoDetails =
    "取引日,入出金明細ＩＤ,受入金額（円）,払出金額（円）,詳細１,詳細２,現在（貸付）高\r\n"
    "20260705,0000123,,5000,カード,ｻﾝﾌﾟﾙｽﾄｱ,45000\r\n"
    "20260706,0000124,10000,,振込,ﾔﾏﾀﾞ ﾊﾅｺ,55000\r\n";

// 取引日,摘要,出金金額,入金金額,残高: no units after the amount names.
inline const char* const kBankPlainNames =
    "取引日,摘要,出金金額,入金金額,残高\r\n"
    "2026/07/01,振込 サンプル商事,,\"30,000\",\"130,000\"\r\n"
    "2026/07/02,ATM,\"5,000\",,\"125,000\"\r\n";

// The date over three columns, the time over three more.
inline const char* const kBankSplitDate =
    "操作日(年),操作日(月),操作日(日),操作時刻(時),操作時刻(分),操作時刻(秒),取引順番号,摘要,お支払金額,お預り金額,残高,メモ\r\n"
    "2026,7,1,9,15,0,1,ﾌﾘｺﾐ ｻﾝﾌﾟﾙ,,10000,60000,\r\n"
    "2026,7,2,12,0,0,1,ﾃﾞﾋﾞﾂﾄ,1200,,58800,\r\n";

// Dates without a year, in a statement made early in January.
inline const char* const kBankYearless =
    "照会日,2027年1月5日\r\n"
    "取扱日付,摘要,お支払金額,お預り金額,差引残高\r\n"
    "12月30日,ATM,\"10,000\",,\"90,000\"\r\n"
    "1月4日,振込,,\"5,000\",\"95,000\"\r\n";

// Cards: spending positive, refunds and cancellations negative.
inline const char* const kCardProductColumn =
    "利用日,利用店名・商品,利用者,支払方法,利用金額,支払手数料,支払総額\r\n"
    "2026/07/01,サンプル書店,本人,1回払い,\"1,650\",0,\"1,650\"\r\n"
    "2026/07/03,サンプル書店,本人,1回払い,-550,0,-550\r\n";

inline const char* const kCardGoRiyou =
    "会員名,テスト　太郎様\r\n"
    "今回のお支払日,2026年8月10日\r\n"
    "ご利用者,カテゴリ,ご利用日,ご利用先など,ご利用金額(￥),支払区分,今回回数,訂正サイン,お支払い金額(￥),国内／海外,摘要,備考\r\n"
    "本人,ショッピング,2026/07/02,サンプルマート,\"3,300\",1回,,,\"3,300\",国内,,\r\n"
    "本人,ショッピング,2026/07/04,サンプルマート,-300,1回,,*,-300,国内,,\r\n";

inline const char* const kCardPlace =
    "種別（ショッピング、キャッシング、その他）,ご利用年月日,ご利用場所,ご利用内容,ご利用金額（キャッシングでは元金になります）,支払区分,お支払開始月,備考\r\n"
    "ショッピング,2026年7月8日,サンプル百貨店,衣料品,\"12,000\",1回,2026年8月,\r\n";

inline const char* const kCardCancel =
    "利用日/キャンセル日,利用店名・商品名,利用者,支払区分,利用金額,手数料,支払総額\r\n"
    "2026/07/09,サンプルカフェ,本人,1回,480,0,480\r\n"
    "2026/07/10,サンプルカフェ,本人,1回,-480,0,-480\r\n";

inline const char* const kCardRefundColumn =
    "ご利用年月日,ご利用箇所,ご利用額,払戻額,ご請求額（うち手数料・利息）,支払区分（回数）\r\n"
    "2026/07/11,サンプル駅　きっぷ,\"2,310\",,\"2,310\",1回\r\n"
    "2026/07/12,サンプル駅　きっぷ,,\"2,310\",\"-2,310\",1回\r\n";

// A bill that opens with its summary (payment day, amounts, a member's line) before the
// header: ご利用日, ご利用店名, ご利用金額, with a return as a negative amount.
inline const char* const kCardSummaryFirst =
    "カード名称,サンプルカード\r\n"
    "お支払日,2026/08/10\r\n"
    "今回お支払金額,\"3,850\"\r\n"
    "前回お支払金額,\"12,000\"\r\n"
    "\r\n"
    "ご利用日,ご利用店名,ご利用者,支払区分,ご利用金額,手数料,今回お支払金額,備考\r\n"
    "2026/07/05,サンプル薬局,本人,1回払い,\"4,600\",0,\"4,600\",\r\n"
    "2026/07/06,サンプル薬局,本人,1回払い,-750,0,-750,返品\r\n";

// A bill whose header is on line 21, after a summary whose lines hold dates and amounts of
// their own (the closing day, the amount due); a member's and a family card's spending.
inline std::string CardHeaderOnLine21() {
  std::string bytes = "サンプルカード ご利用代金明細\r\n"
                      "お支払日,2026/08/27\r\n"
                      "締切日,2026/07/31\r\n"
                      "今回ご請求額,\"10,780\"\r\n";
  for (int i = 5; i <= 20; ++i) bytes += "ご案内" + std::to_string(i) + ",\r\n";
  return bytes + "利用日,利用店名,利用者,支払方法,利用金額,支払回数,今回請求額\r\n"
                 "2026/07/12,サンプル書房,本人,1回,\"1,980\",1,\"1,980\"\r\n"
                 "2026/07/20,サンプル交通,家族,1回,\"8,800\",1,\"8,800\"\r\n";
}

// The older and the newer form of one issuer's card file.
inline const char* const kCardOlderForm =
    "ご利用年月日,ご利用場所,ご利用内容,ご利用金額,支払区分,備考\r\n"
    "2026年7月3日,サンプル家電,テレビ台,\"15,800\",1回,\r\n"
    "2026年7月9日,サンプル家電,返品,\"-2,000\",1回,\r\n";
inline const char* const kCardNewerForm =
    "利用日,利用店名・商品名,利用者,支払区分,利用金額,手数料/利息,支払総額\r\n"
    "2026/07/03,サンプル家電,本人,1回払い,\"15,800\",0,\"15,800\"\r\n"
    "2026/07/09,サンプル家電,本人,1回払い,\"-2,000\",0,\"-2,000\"\r\n";

// Electronic money whose amounts carry no sign: 利用区分 says which way the money went.
inline const char* const kPrepaidKinds =
    "取引年月日,利用店舗,利用金額（税込）,利用区分,支払方法,獲得ポイント\r\n"
    "2026/07/01,サンプルスーパー,\"1,080円\",支払,WAON,5\r\n"
    "2026/07/01,サンプルスーパー,\"3,000円\",チャージ,現金,0\r\n"
    "2026/07/02,サンプル駅売店,\"2,000円\",オートチャージ,クレジット,0\r\n"
    "2026/07/03,サンプルスーパー,540円,支払取消,WAON,0\r\n"
    "2026/07/04,サンプル端末,500円,ダウンロード,,0\r\n";

// A transit card's history: no years, charges positive, fares negative, a 0-yen gate record.
inline const char* const kTransitCard =
    "月日,種別,利用駅,種別,利用駅,残高,入金・利用額\r\n"
    "12/29,入,サンプル,出,ミホン,\"2,800\",-200\r\n"
    "12/30,ｶｰﾄﾞ,,,,\"5,800\",\"+3,000\"\r\n"
    "12/30,入,ミホン,出,ミホン,\"5,800\",0\r\n"
    "01/02,物販,,,,\"5,650\",-150\r\n";

// A payment app: money out and in in columns of their own, "-" for none.
inline const char* const kPaymentApp =
    "取引日,出金金額（円）,入金金額（円）,海外出金金額,通貨,変換レート（円）,利用国,取引内容,取引先,取引方法,支払い区分,利用者,取引番号\r\n"
    "2026/07/01 12:34:56,500,-,-,-,-,-,支払い,サンプルカフェ,残高,-,-,P0001\r\n"
    "2026/07/02 08:00:00,-,\"3,000\",-,-,-,-,チャージ,サンプル銀行,銀行口座,-,-,P0002\r\n";

// A payment service in several currencies: only yen rows are read.
inline const char* const kPaymentService =
    "日付,時間,タイムゾーン,名前,タイプ,ステータス,通貨,合計,手数料,正味,取引ID\r\n"
    "2026/07/05,10:00:00,JST,サンプル商店,一般支払い,完了,JPY,\"-1,500\",0,\"-1,500\",TX0001\r\n"
    "2026/07/06,11:00:00,JST,Sample Shop,一般支払い,完了,USD,-12.00,0,-12.00,TX0002\r\n"
    "2026/07/07,12:00:00,JST,サンプル返金,返金,完了,JPY,500,0,500,TX0003\r\n";

// Electronic money with its kinds of row and where each charge came from; the first header
// cell garbled, as a second conversion of the file's encoding leaves it.
inline const char* const kPrepaidChargeSources =
    "蜿門ｼ募ｹｴ譛域律,利用店舗,利用金額（税込）,利用区分,チャージ区分\r\n"
    "2026/08/01,サンプル銀行,\"5,000円\",チャージ,銀行口座\r\n"
    "2026/08/01,サンプルマート,\"2,310円\",支払,\r\n"
    "2026/08/02,サンプルポイント,300円,チャージ,ポイント\r\n"
    "2026/08/03,サンプル駅,\"1,000円\",チャージ,現金\r\n"
    "2026/08/04,サンプル端末,50円,ポイントダウンロード,\r\n"
    "2026/08/05,旧カード,\"1,200円\",残高移行,\r\n";

// A transit card's history as a card reader exports it, newest first: fares and shopping
// positive, charges negative, the balance after each row; a season ticket's gate record.
inline const char* const kTransitHistory =
    "カードID=JE0000000000000000\r\n"
    "利用年月日,定期,鉄道会社名,入場駅/事業者名,定期,鉄道会社名,出場駅/降車場所,利用額(円),残額(円),メモ\r\n"
    "2026/07/05,,サンプル鉄道,ミホン,,サンプル鉄道,タメシ,210,\"4,340\",\r\n"
    "2026/07/05,,,,,,,\"-3,000\",\"4,550\",ｵｰﾄﾁｬｰｼﾞ\r\n"
    "2026/07/04,,,ｻﾝﾌﾟﾙ売店,,,,450,\"1,550\",物販\r\n"
    "2026/07/03,,,,,,,\"-1,000\",\"2,000\",ﾁｬｰｼﾞ\r\n"
    "2026/07/02,,サンプル鉄道,タメシ,,サンプル鉄道,ミホン,178,\"1,000\",\r\n"
    "2026/07/02,定,サンプル鉄道,タメシ,定,サンプル鉄道,ミホン,0,\"1,178\",\r\n";

// Banks we have no layout for, whose headers name their columns in the usual words.
inline const char* const kBankNamedPlain =
    "日付,摘要,お支払金額,お預り金額,残高\r\n"
    "2026/08/01,ｷﾕｳﾖ ｻﾝﾌﾟﾙｼﾔ,,\"180,000\",\"230,000\"\r\n"
    "2026/08/03,ﾃﾞﾝｷﾀﾞｲ,\"6,480\",,\"223,520\"\r\n";
inline const char* const kBankNamedCousins =
    "お取引日,お取引内容,メモ,出金金額（円）,入金金額（円）,取引後残高（円）\r\n"
    "2026/8/5,ATM ｻﾝﾌﾟﾙｴｷ,,\"20,000\",,\"80,000\"\r\n"
    "2026/8/6,ﾌﾘｺﾐ ﾐﾎﾝ,,,\"1,500\",\"81,500\"\r\n";
inline const char* const kBankNamedNoBalance =
    "取引日,お取り扱い内容,支払い金額,預かり金額\r\n"
    "2026/8/7,ｶｰﾄﾞ ｻﾝﾌﾟﾙ,980,\r\n"
    "2026/8/8,ﾘｿｸ,,12\r\n";

// A payment funded by the card behind the service: the funding row has no 名前.
inline const char* const kPaymentServiceFunded =
    "日付,時間,タイムゾーン,名前,タイプ,ステータス,通貨,合計,手数料,正味,取引ID\r\n"
    "2026/08/10,09:00:00,JST,サンプル雑貨,一般支払い,完了,JPY,\"-2,400\",0,\"-2,400\",TX1001\r\n"
    "2026/08/10,09:00:00,JST,,クレジットカードによる一般の入金,完了,JPY,\"2,400\",0,\"2,400\",TX1002\r\n"
    "2026/08/12,10:00:00,JST,サンプル雑貨,返金,完了,JPY,800,0,800,TX1003\r\n";

// A card file of one row per purchase and no header; the amount billed this time differs
// from the amount used on a row paid in instalments.
inline const char* const kCardRowsOnly =
    "2026/7/3,サンプルガス 料金,ご本人,1回払い,,26/8,6210,6210,,,,,\r\n"
    "2026/7/9,サンプル家具,ご家族,3回払い,,26/8,\"30,000\",\"10,000\",,,,,\r\n"
    "2026/7/12,サンプル書店,ご本人,1回払い,,26/8,-880,-880,,,,,\r\n"
    ",,,,,,,\"15,330\",,,,,\r\n";

// A card bill that opens with a block of summary lines, then a 内訳 line, then a header no
// layout of ours knows.
inline const char* const kCardSummaryBlock =
    "支払日,2026年02月27日\r\n"
    "会員氏名,サンプル 花子 様\r\n"
    "カード名,サンプルカード\r\n"
    "当月ご請求金額 合計（円）,\"12,345\"\r\n"
    "ご利用日,2026/01/31\r\n"
    "\r\n"
    "内訳\r\n"
    "ご利用日,ご利用店名・商品名,ご利用者,お支払区分,ご利用金額（円）,今回お支払金額（円）\r\n"
    "2026/01/05,サンプル商店,本人,1回払い,\"2,345\",\"2,345\"\r\n"
    "2026/01/10,サンプル電力,本人,1回払い,\"10,000\",\"10,000\"\r\n";

}  // namespace kzm::test
