// The --help texts of tavimrok-cli.

#include "Commands.h"

namespace kzm::cli {

const char* const kOverviewHelp =
    "使いかた: tavimrok-cli [--data-folder DIR] SUBCOMMAND [引数...]\n"
    "\n"
    "もるぽ通帳のデータを、本体と同じしくみで読むためのコマンドです。\n"
    "書き込むのは、下の説明に書いたときだけです。\n"
    "\n"
    "  list                 通帳の一覧 (名前, おなまえ, 使いみち, フォルダ)\n"
    "  month PASSBOOK YYYYMM  ひと月の集計 (タブ区切り)\n"
    "  search PASSBOOK [条件]  記入の検索 (CSV)\n"
    "  demo [DATA-FOLDER]   見本の通帳をつくる\n"
    "  holidays YEAR [LAST-YEAR]  祝日の一覧\n"
    "  seasons YEAR [LAST-YEAR]   季節の日の一覧\n"
    "  import PASSBOOK FILE --account 口座  銀行・カードの明細 (CSV) の取り込み\n"
    "  import-undo PASSBOOK  最後の取り込みを元に戻す\n"
    "  backup PASSBOOK [--reason 理由]  通帳のバックアップをとる\n"
    "  backups PASSBOOK     通帳のバックアップの一覧\n"
    "  restore PASSBOOK BACKUP [--month YYYYMM]  バックアップから元に戻す\n"
    "\n"
    "--data-folder DIR は行のどこに置いてもよく、データフォルダを DIR にします\n"
    "(ないときは本体と同じデータフォルダ)。SUBCOMMAND --help で各コマンドの説明を出します。\n"
    "うまくいかなかったときは標準エラーにわけを書き、0 以外で終わります\n"
    "(2: コマンド行のまちがい, 1: それ以外)。\n";

const char* const kListHelp =
    "使いかた: tavimrok-cli list\n"
    "\n"
    "データフォルダの通帳を名前順に一行ずつ出します。各行はタブ区切りで\n"
    "名前, おなまえ, 使いみち, フォルダ。\n";

const char* const kMonthHelp =
    "使いかた: tavimrok-cli month PASSBOOK YYYYMM\n"
    "\n"
    "月間表示と同じ集計をタブ区切りの UTF-8 で出します。PASSBOOK は通帳のフォルダか、\n"
    "データフォルダの通帳の名前です。\n"
    "  period <最初の日> <最後の日>\n"
    "  category kind balance <期間の各日> total\n"
    "  項目ごとに: 名前, 種類, 繰越残高, 各日の金額 (資産は日ごとの残高), 合計\n"
    "  memo <日> <メモ>   メモのある日ごと (改行は \\n)\n"
    "日付は yyyy/mm/dd、金額は区切りのない整数です。\n"
    "月間表示と同じく、その月に記入があれば月の設定ファイル (Monthly/YYYYMM.mif) を書きます。\n";

const char* const kSearchHelp =
    "使いかた: tavimrok-cli search PASSBOOK [--from YYYYMMDD] [--to YYYYMMDD]\n"
    "          [--category 項目] [--item 内容] [--note 備考] [--account 出入資産]\n"
    "          [--max 金額] [--min 金額] [--kinds payment,receipt,assets,memo]\n"
    "          [--output FILE]\n"
    "\n"
    "検索ウィンドウと同じ条件で記入をさがし、見つかった順に CSV 出力と同じ行を出します:\n"
    "年月日, 項目, 内容, 金額 (3桁区切り), 出入金資産, 備考。\n"
    "文字の条件は完全一致です。--kinds をつけると、挙げた種類だけをさがします。\n"
    "画面には UTF-8 で、--output FILE のときは本体と同じく Shift-JIS (CR LF) で書きます。\n";

const char* const kDemoHelp =
    "使いかた: tavimrok-cli demo [DATA-FOLDER] [--years N] [--seed S] [--until YYYYMM]\n"
    "\n"
    "DATA-FOLDER (省略するとデータフォルダ) に見本の通帳を二つつくります。\n"
    "  家計簿        25日締め。給料, 家賃, 毎日の食費, カード払い, 口座間の移動, メモ\n"
    "  おこづかい帳  月末締め。\n"
    "N 年分 (既定 3) の記入を、YYYYMM の月 (既定は今日の月) までつくります。\n"
    "同じ S, N, YYYYMM からはいつも同じファイルができます。\n"
    "同じ名前の通帳がすでにあるときは何も書きません。\n";

const char* const kHolidaysHelp =
    "使いかた: tavimrok-cli holidays YEAR [LAST-YEAR]\n"
    "\n"
    "YEAR から LAST-YEAR までの祝日を \"yyyy/mm/dd<TAB>名前\" で日付順に出します。\n";

const char* const kSeasonsHelp =
    "使いかた: tavimrok-cli seasons YEAR [LAST-YEAR]\n"
    "\n"
    "YEAR から LAST-YEAR までの二十四節気, 土用, 彼岸などを \"yyyy/mm/dd<TAB>名前\" で\n"
    "日付順に出します。\n";

const char* const kImportHelp =
    "使いかた: tavimrok-cli import PASSBOOK FILE [--account 口座] [--preset 名前]\n"
    "          [--columns 列の指定] [--days N] [--dry-run]\n"
    "\n"
    "銀行やカードの明細ファイル FILE を読み、各行を通帳の記入にします。\n"
    "文字コード (Shift_JIS, UTF-8, UTF-16) と明細の形式はファイルの中身から判別します。\n"
    "--account は取り込み先の資産の項目 (銀行, カードなど) で、形式ごとに覚えるので\n"
    "二回目からは省けます。出金は支出、入金は収入になり、項目は通帳の分類のルール\n"
    "(StatementRules.csv) から決め、決まらない行は「未分類」にします。\n"
    "通帳の同じ口座に同じ金額の記入が前後 N 日 (既定 3) 以内にある行は重複として\n"
    "取り込みません。行ごとに タブ区切りで 日付, 金額 (出金は負), 内容, 項目, 判定 を出し、\n"
    "最後に件数を出します。--dry-run のときは何も書き込みません。\n"
    "\n"
    "知らない形式の明細は、列の指定をプリセットとして名前をつけて覚えさせます:\n"
    "  --preset 名前 --columns date=1,text=3,out=4,in=5[,id=2][,skip=1][,header=日付|摘要]\n"
    "  --preset 名前 --columns date=1,text=2,amount=3[,card]\n"
    "列は1から数えます。amount は符号つきの一列、card は正の金額を支出として読みます。\n"
    "次からは --preset 名前 だけで使えます (header をつけると自動で判別します)。\n";

const char* const kImportUndoHelp =
    "使いかた: tavimrok-cli import-undo PASSBOOK\n"
    "\n"
    "最後の取り込みで追加した記入のうち、そのあと変更されていないものを削除します。\n"
    "変更・削除されていて取り消せなかった件数も出します。\n";

const char* const kBackupHelp =
    "使いかた: tavimrok-cli backup PASSBOOK [--reason 理由]\n"
    "\n"
    "通帳のフォルダのファイルをすべて、ひとつの zip ファイルにバックアップします。\n"
    "置き場所はデータフォルダの「バックアップ」(本体のオプション設定で変えられます) の\n"
    "通帳の名前のフォルダです。--reason の理由が一覧に出ます (既定は「手動」)。\n"
    "書いた zip ファイルとファイルの数をタブ区切りで出します。読めないファイルが\n"
    "あったときは、ほかのファイルをバックアップしたうえで、そのファイルを挙げて 1 で終わります。\n"
    "古いバックアップは、最近14日・8週・12か月のそれぞれ最新と、変更の前の最新10個を残して消します。\n";

const char* const kBackupsHelp =
    "使いかた: tavimrok-cli backups PASSBOOK\n"
    "\n"
    "通帳のバックアップを新しい順に一行ずつ出します。各行はタブ区切りで\n"
    "日時 (yyyy/mm/dd hh:mm:ss), 理由, 大きさ (バイト), ファイル。\n";

const char* const kRestoreHelp =
    "使いかた: tavimrok-cli restore PASSBOOK BACKUP [--month YYYYMM]\n"
    "\n"
    "通帳をバックアップ BACKUP (zip ファイルか、backups が出すファイルの名前) の状態に戻します。\n"
    "先に今の状態を「復元の前」としてバックアップするので、復元も元に戻せます。\n"
    "バックアップのあとにできたファイルは消えます。--month をつけると、その月の\n"
    "記入のファイル (Daily/YYYYMM.kzm) だけを戻します。本体で通帳を開いているときは、\n"
    "本体の「バックアップと復元」から戻してください。\n";

}  // namespace kzm::cli
