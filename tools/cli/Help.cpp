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
    "  import-ledger PASSBOOK FILE  ほかの家計簿サービスの書き出し (CSV) からの引っ越し\n"
    "  recurring PASSBOOK list|add|due|enter  定期的な記入 (家賃, 給与など)\n"
    "  budget PASSBOOK YYYYMM  その月の予算と実績と残り\n"
    "  budget PASSBOOK set 項目 金額 --from YYYYMM  予算を決める\n"
    "  report PASSBOOK --year YYYY [--csv FILE]  年間の集計\n"
    "  card PASSBOOK CARD set|cycles|remove  カードの締め日・支払日と請求\n"
    "  forecast PASSBOOK [--months N] [--account 口座]  これからの残高\n"
    "  serve PASSBOOK --listen アドレス:ポート  スマホから記入を受けるサービス\n"
    "  backup PASSBOOK [--reason 理由]  通帳のバックアップをとる\n"
    "  backups PASSBOOK     通帳のバックアップの一覧\n"
    "  restore PASSBOOK BACKUP [--month YYYYMM]  バックアップから元に戻す\n"
    "  add PASSBOOK YYYYMMDD 項目 金額 [--item 内容] [--account 資産] [--note 備考]  記入をひとつ足す\n"
    "  merge PASSBOOK       同期ソフトが残した写し (競合のコピー) を統合する\n"
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
    "集計は読むだけで、通帳には何も書きません。\n";

const char* const kSearchHelp =
    "使いかた: tavimrok-cli search PASSBOOK [--from YYYYMMDD] [--to YYYYMMDD]\n"
    "          [--category 項目] [--item 内容] [--note 備考] [--account 出入資産]\n"
    "          [--max 金額] [--min 金額] [--kinds payment,receipt,assets,memo]\n"
    "          [--output FILE]\n"
    "\n"
    "検索ウィンドウと同じ条件で記入をさがし、見つかった順に CSV 出力と同じ行を出します:\n"
    "年月日, 項目, 内容, 金額 (3桁区切り), 出入金資産, 備考。\n"
    "文字の条件は完全一致です。--kinds をつけると、挙げた種類だけをさがします。\n"
    "画面には UTF-8 で、--output FILE のときは本体と同じく Shift-JIS (CR LF) で書きます。\n"
    "項目, 内容, 出入金資産, 備考が =, +, -, @, タブ, CR で始まるときは、表計算ソフトが\n"
    "数式として実行しないよう、先頭に ' をつけます。\n";

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
    "最後に件数と、取り込まない行の理由ごとの数を出します。残高の列がある明細では、\n"
    "取り込んだあとに明細の最後の日の残高と通帳の口座の残高を比べて出します。\n"
    "見出しのある明細を見出しなしのカードの形式として読むことはなく、行の半分以上が\n"
    "読めない明細や金額が残高の列と合わない明細は読み込みません。\n"
    "--dry-run のときは何も書き込みません。\n"
    "\n"
    "知らない形式の明細は、列の指定をプリセットとして名前をつけて覚えさせます:\n"
    "  --preset 名前 --columns date=1,text=3,out=4,in=5[,id=2][,skip=1][,header=日付|摘要]\n"
    "  --preset 名前 --columns date=1,text=2,amount=3[,card]\n"
    "列は1から数えます。amount は符号つきの一列 (out, in とはどちらか一方)、card は正の\n"
    "金額を支出として読みます。最初から用意されている形式の名前はプリセットにつけられません。\n"
    "次からは --preset 名前 だけで使えます (header をつけると自動で判別します)。\n";

const char* const kImportUndoHelp =
    "使いかた: tavimrok-cli import-undo PASSBOOK\n"
    "\n"
    "最後の取り込みで追加した記入のうち、そのあと変更されていないものを削除します。\n"
    "変更・削除されていて取り消せなかった件数も出します。途中で止まった取り込みも、\n"
    "追加された記入だけを削除します (ほかの取り込みや手で入れた記入は残します)。\n";

const char* const kImportLedgerHelp =
    "使いかた: tavimrok-cli import-ledger PASSBOOK FILE [--account-map '書き出しの口座=資産の項目' ...]\n"
    "          [--map '大項目/中項目=項目' ...] [--map '大項目=項目' ...] [--dry-run]\n"
    "\n"
    "ほかの家計簿サービスから書き出した、これまでの記録の CSV ファイル FILE を読み、\n"
    "各行を通帳の記入にします。読めるのは、見出しが\n"
    "  計算対象,日付,内容,金額（円）,保有金融機関,大項目,中項目,メモ,振替,ID\n"
    "  日付,方法,カテゴリ,カテゴリの内訳,支払元,入金先,品目,メモ,お店,通貨,収入,支出,振替,...\n"
    "の二つの形式です。支出と収入は、口座 (保有金融機関, 支払元, 入金先) と同じ名前の\n"
    "資産の項目からの支出・への収入になり、項目は大項目 (カテゴリ) と同じ名前、中項目\n"
    "(カテゴリの内訳) は備考に残します。振替は資産の項目のあいだの移動になります。\n"
    "--account-map で口座を、--map で項目を通帳のどの項目にするかを変えられます\n"
    "(何度でも指定できます。大項目だけのときは、その下のすべての中項目に効きます)。\n"
    "通帳にない項目は、取り込むときに通帳の項目に加えます。\n"
    "初めに 口座・項目の対応 (種類, 書き出しの名前, 通帳の名前, 行数) を、次に行ごとに\n"
    "日付, 金額, 内容, 項目, 口座, 判定 をタブ区切りで出し、最後に件数を出します。\n"
    "前に取り込んだ行 (同じ ID の行, または同じ日に同じ口座・金額・内容の記入がある行) は\n"
    "取り込みません。取り込みは import-undo で元に戻せます。\n"
    "--dry-run のときは何も書き込みません。\n";

const char* const kRecurringHelp =
    "使いかた: tavimrok-cli recurring PASSBOOK list\n"
    "          tavimrok-cli recurring PASSBOOK add --kind 種類 --category 項目 --account 口座\n"
    "              --amount 金額 (--monthly 日 | --weekly 曜日 | --yearly MMDD | --every-days N)\n"
    "              [--every N] [--item 内容] [--note 備考] [--shift asis|before|after]\n"
    "              [--from YYYYMMDD] [--count N | --until YYYYMMDD] [--estimate] [--to-account 資産]\n"
    "          tavimrok-cli recurring PASSBOOK due [--until YYYYMMDD]\n"
    "          tavimrok-cli recurring PASSBOOK enter [--until YYYYMMDD] [--dry-run]\n"
    "\n"
    "毎月・毎週・毎年などにくり返す記入のひな形 (定期的な記入) を扱います。\n"
    "list    ひな形を一行ずつ タブ区切りで 番号, 種類, 項目/口座, 内容, 金額, くり返し, 次の日付 で出します。\n"
    "add     ひな形を追加します。--kind は 支出, 収入, 資産の移動。資産の移動では --account が\n"
    "        移動元、--to-account が移動先で、--category は使いません。\n"
    "        --monthly は 1 から 31 または 月末 (その月にない日は月末)、--weekly は 1 (月曜) から\n"
    "        7 (日曜)、--every N は N か月・N 週・N 年ごと。--from は最初の日 (既定は今日)。\n"
    "        --shift は土日・祝日・12/31・1/2・1/3 に当たったとき: asis そのまま, before 前の営業日,\n"
    "        after 次の営業日。--estimate は金額が見込みであることを示します。\n"
    "due     まだ記入もスキップもしていない回を、日付 (休日の移動後), ひな形の番号, 内容, 金額 で\n"
    "        一行ずつ出します。--until の日まで (既定は今日と、本体で設定した先読みの日数)。\n"
    "enter   due の回をすべて記入します。--dry-run のときは出すだけで何も書き込みません。\n"
    "        項目が通帳からなくなったひな形の回は記入せず、わけを出して 1 で終わります。\n";

const char* const kBudgetHelp =
    "使いかた: tavimrok-cli budget PASSBOOK YYYYMM\n"
    "          tavimrok-cli budget PASSBOOK set 項目 金額 --from YYYYMM\n"
    "\n"
    "予算は支出 (と、見込みとして収入) の項目ごとに月の予算を決めたもので、決めた月から\n"
    "次に変える月まで同じ額が続きます。通帳フォルダの Budget.csv に書きます。\n"
    "\n"
    "budget PASSBOOK YYYYMM は、その月 (締め日で区切った月) に予算のある項目ごとに\n"
    "タブ区切りで 項目, 予算, 実績, 残り を出し、最後に支出の合計の行 (total) を、\n"
    "収入に予算があればその合計の行 (income-total) も出します。実績は月間表示の\n"
    "月間合計と同じ値で、残りは 予算 - 実績 (使いすぎは負) です。\n"
    "\n"
    "budget PASSBOOK set 項目 金額 --from YYYYMM は、YYYYMM の月からの予算を決めます。\n"
    "金額に none を書くと、その月から予算をなくします。\n";

const char* const kReportHelp =
    "使いかた: tavimrok-cli report PASSBOOK --year YYYY [--csv FILE]\n"
    "\n"
    "期間が YYYY 年のうちに終わる月 (ふつう12か月。締め日が25日なら最初の月は前の年の\n"
    "12月26日から) の集計をタブ区切りで出します。一行目は各月 (YYYYMM), total, average。\n"
    "続いて支出と収入の項目ごとに各月の月間合計, 年間の合計, 月の平均、\n"
    "収入, 支出, 差額 の行、資産ごとに各月の末の残高 (名前のあとに「残高」) の行です。\n"
    "--csv FILE のときは、同じ表を Shift-JIS (CR LF) の CSV にして FILE に書きます。\n"
    "集計は読むだけで、通帳には何も書きません (書くのは --csv の FILE だけです)。\n";

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
    "使いかた: tavimrok-cli restore PASSBOOK BACKUP [--month YYYYMM] [--force]\n"
    "\n"
    "通帳をバックアップ BACKUP (zip ファイルか、backups が出すファイルの名前) の状態に戻します。\n"
    "先にバックアップのファイルをすべて確かめて (大きさと CRC、目録) 通帳の隣に取り出し、\n"
    "今の状態を「復元の前」としてバックアップしてから入れ替えるので、復元も元に戻せます。\n"
    "確かめられないバックアップは、通帳を何も変えずに断ります。\n"
    "バックアップのあとにできたファイルは消えます。--month をつけると、その月の\n"
    "記入のファイル (Daily/YYYYMM.kzm) だけを戻し、その月からあとの残高を繰り越し直します。\n"
    "ほかの通帳のバックアップは、--force をつけたときだけ戻します。\n"
    "本体で通帳を開いているときは、本体の「バックアップと復元」から戻してください。\n";

const char* const kCardHelp =
    "使いかた: tavimrok-cli card PASSBOOK CARD set --closing 日 --payment 日 [--month next|after-next]\n"
    "              --from-account 口座\n"
    "          tavimrok-cli card PASSBOOK CARD cycles [--from YYYYMM] [--to YYYYMM]\n"
    "          tavimrok-cli card PASSBOOK CARD remove\n"
    "\n"
    "資産の項目 CARD をクレジットカードとして扱います。設定は通帳フォルダの Cards.csv に書きます。\n"
    "set     締め日 (--closing) と支払日 (--payment) は 1 から 28 か end (月末、末)。--month は支払が\n"
    "        締めた月の翌月 (next, 既定) か翌々月 (after-next) か。--from-account は代金を払う資産\n"
    "        (引落口座)。設定ずみのカードでは、指定しなかったものは元のままです。\n"
    "cycles  締め日が --from から --to の月にある請求を、古い順にタブ区切りで 最初の日, 締め日,\n"
    "        請求額, 支払のようすで出します。既定は最初に使った月から今の請求まで。\n"
    "        請求額はその期間にカードで払った額 (カードからの資産の移動を含む) から返金 (カード\n"
    "        への収入) と、請求の支払に当たらないカードへの資産の移動 (ATM での前払いなど) を\n"
    "        引いたもので、引く額が多いときは 0 にして残りを次の請求から引きます。\n"
    "        支払日は土日・祝日・12/31・1/2・1/3 なら次の営業日です。引落口座からカードへの\n"
    "        資産の移動が、支払日の前後7日以内に請求額と同じ額であれば 済 (その日付)、なければ\n"
    "        未 です。請求額が 0 なら 支払なし、締め日がまだ来ていない請求は 締め前 です。\n"
    "remove  カードの設定をやめます (記入はそのままです)。\n"
    "引落口座が通帳からなくなったカードは、そのわけを出して 1 で終わります。\n";

const char* const kForecastHelp =
    "使いかた: tavimrok-cli forecast PASSBOOK [--months N] [--account 口座] [--today YYYYMMDD]\n"
    "\n"
    "今日の終わりの残高から N か月先 (既定 3) まで、資産の残高の見込みを出します。\n"
    "見込みに入れるのは、明日からの日付ですでに記入してあるもの、まだ記入していない定期的な\n"
    "記入、まだ記入していないカードの支払 (締めた請求と、今の請求のそれまでの額) です。\n"
    "残高の変わる日と口座ごとに タブ区切りで 日付, 口座, その日の終わりの残高 を出し、\n"
    "最後に口座ごとに 最低, 口座, 最低の残高, その日 を出します。--account でひとつの口座だけに\n"
    "します。--today は今日の代わりにする日です。設定が通帳に合わないカードや定期的な記入は\n"
    "見込みに入れず、そのわけを標準エラーに出します。今日までの31日に日付があって記入のない\n"
    "定期的な記入やカードの支払も、見込みに入れずに標準エラーで知らせます。\n";

const char* const kAddHelp =
    "使いかた: tavimrok-cli add PASSBOOK YYYYMMDD 項目 金額 [--item 内容] [--account 資産]\n"
    "          [--note 備考]\n"
    "\n"
    "日計表に打ち込んだのと同じように、YYYYMMDD の日に記入をひとつ足し、月のデータと\n"
    "月の設定ファイルを書き、あとの月へ残高を繰り越します。種類は項目で決まります:\n"
    "支出か収入の項目なら --account の資産 (既定は通帳の最初の資産) から・へのお金、\n"
    "資産の項目なら資産の移動で、項目が移動先、--account が移動元です (移動では必須)。\n"
    "金額は日計表と同じ書きかたで、1,000 や ¥1000 や 298*3 のような計算も書けます。\n"
    "足した記入を 日付, 項目, 資産, 金額 のタブ区切りで出します。\n";

const char* const kMergeHelp =
    "使いかた: tavimrok-cli merge PASSBOOK\n"
    "\n"
    "データフォルダを Syncthing, Nextcloud, Dropbox で複数のPCと同期しているとき、\n"
    "2台で同じファイルを変えると、同期ソフトは片方を写し (NAME.sync-conflict-…,\n"
    "NAME (conflicted copy …), NAME (… conflicted copy …)) として残します。merge は\n"
    "その写しをすべて元のファイルに統合し、写しを消します。書き込むコマンドと本体も、\n"
    "通帳を開くときに同じことをします。統合の前に通帳をバックアップします (理由「同期の統合」)。\n"
    "\n"
    "統合したファイルごとに タブ区切りで ファイル, 残したもの, 人が見るべきこと を一行出します。\n"
    "月のデータは記入ごとに統合します: 片方で足した記入は残し、片方で消した記入は消し、\n"
    "両方で違うふうに変えた記入は両方を残して、その日を挙げます。決算のファイルは統合せず\n"
    "作り直し、項目・設定・予算・カード・定期的な記入・明細の規則はキーごとに統合します\n"
    "(両方で変えたキーは新しいほうを残して挙げます)。\n"
    "人が見るべきことがなければ 0、あれば 1 で終わります。\n";

const char* const kServeHelp =
    "使いかた: tavimrok-cli serve PASSBOOK --listen アドレス:ポート\n"
    "\n"
    "家庭内ネットワークのスマホから記入を受けるサービスを、ウィンドウなしで動かします。\n"
    "アドレスはこのPCの家庭内ネットワークのアドレス (192.168.x.x など) か 127.0.0.1 で、\n"
    "0.0.0.0 のようにすべてのネットワークで待ち受けることはしません。IPv6 は [fd00::5]:8080 のように。\n"
    "最初の行に 待ち受け<TAB>http://アドレス:ポート/<TAB>ペアリングコード<TAB>NNNNNN を出します。\n"
    "スマホのブラウザでそのアドレスを開き、ペアリングコード (10分間、1台に1回だけ使えます) を\n"
    "入れるとつながります。そのあとはペアリングと記入ごとに一行を出します:\n"
    "  ペアリング<TAB>スマホの名前\n"
    "  記入<TAB>スマホの名前<TAB>日付<TAB>項目<TAB>金額\n"
    "  取り消し<TAB>スマホの名前<TAB>記入の id\n"
    "動いているあいだは通帳に書き込むプログラムとして通帳を押さえます。Ctrl+C (SIGINT) か\n"
    "SIGTERM で止まります。通信は暗号化しない HTTP なので、ルーターでポートをインターネットへ\n"
    "開けないでください。スマホごとの鍵は、このPCの ~/.local/state/Orvik/tavimrok/ (通帳ごと) に\n"
    "ハッシュにして置きます (同期するフォルダには置きません)。\n";

}  // namespace kzm::cli
