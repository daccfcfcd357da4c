#include "CommandLine.h"

#include <array>
#include <string_view>

namespace kzm {

namespace {

// Qt's own options that take a value; Qt accepts them with one dash or two.
constexpr std::array<std::string_view, 11> kQtValueOptions = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "qwindowicon",
    "qwindowtitle", "style", "stylesheet", "session", "display"};
constexpr std::array<std::string_view, 4> kQtFlagOptions = {"reverse", "widgetcount", "nograb", "dograb"};

template <size_t N>
bool Holds(const std::array<std::string_view, N>& names, std::string_view name) {
  for (std::string_view n : names) {
    if (n == name) return true;
  }
  return false;
}

std::string MistakeText(std::string text) {
  return std::move(text) + "\n使い方は tavimrok --help で表示されます。";
}

void TakeFolder(TCommandLine& line, std::string_view folder) {
  if (folder.empty() && line.error.empty()) line.error = MistakeText("--data-folder にはフォルダを指定してください。");
  line.dataFolder = folder;
}

}  // namespace

TCommandLine ReadCommandLine(int argc, const char* const* argv) {
  TCommandLine line;
  bool help = false;
  bool version = false;
  bool selfCheck = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h" || arg == "-?") {
      help = true;
    } else if (arg == "--version" || arg == "-v") {
      version = true;
    } else if (arg == "--self-check") {
      selfCheck = true;
    } else if (arg == "--data-folder") {
      TakeFolder(line, i + 1 < argc ? argv[++i] : "");
    } else if (arg.starts_with("--data-folder=")) {
      TakeFolder(line, arg.substr(arg.find('=') + 1));
    } else if (arg.starts_with("-") && arg.size() > 1) {
      const std::string_view spelt = arg.substr(arg.starts_with("--") ? 2 : 1);
      const std::string_view name = spelt.substr(0, spelt.find('='));
      if (Holds(kQtValueOptions, name)) {
        if (name == spelt) ++i;  // its value belongs to Qt as well
      } else if (!Holds(kQtFlagOptions, name) && arg.starts_with("--") && line.error.empty()) {
        line.error = MistakeText("知らないオプションです: " + std::string(arg));
      }
    }
    // Anything else (a lone word, a one-dash option of Qt's) is left to Qt.
  }
  if (help) line.action = TStartAction::saHelp;
  else if (version) line.action = TStartAction::saVersion;
  else if (!line.error.empty()) line.action = TStartAction::saMistake;
  else if (selfCheck) line.action = TStartAction::saSelfCheck;
  return line;
}

std::string HelpText() {
  return "使い方: tavimrok [オプション]\n"
         "\n"
         "家計簿「もるぽ通帳」を起動します。\n"
         "\n"
         "オプション:\n"
         "  --data-folder フォルダ  この起動のあいだだけ、通帳をこのフォルダに置きます\n"
         "                          （試しに使うとき、USB メモリで持ち歩くときなど）。\n"
         "  --self-check            ウィンドウを開かずに、プログラムの横の絵の書庫とヘルプ、\n"
         "                          データフォルダが見つかるかを表示して終わります。\n"
         "  -h, --help              この説明を表示して終わります。\n"
         "  -v, --version           版を表示して終わります。\n"
         "\n"
         "データフォルダは、指定がなければ ~/.local/share/Orvik/もるぽ通帳\n"
         "（$XDG_DATA_HOME を設定しているときは $XDG_DATA_HOME/Orvik/もるぽ通帳）です。\n"
         "コマンド行から通帳を読むには tavimrok-cli を使います（man tavimrok-cli）。\n";
}

std::string VersionText() { return std::string(KZM_PRODUCT_NAME) + " (" + KZM_INTERNAL_NAME + ") " + KZM_VERSION + "\n"; }

}  // namespace kzm
