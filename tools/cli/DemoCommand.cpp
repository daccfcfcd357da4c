// demo: sample passbooks made through the program's own objects.

#include <cstdio>
#include <string>

#include "CliSupport.h"
#include "Commands.h"
#include "card/CardSettings.h"
#include "demo/DemoPassbook.h"
#include "foundation/AppGlobal.h"

namespace kzm::cli {

int DemoCommand(const TArgList& args) {
  const TArgs parsed = ParseArgs(args, {"--years", "--seed", "--until"});
  if (parsed.help) {
    std::printf("%s", kDemoHelp);
    return 0;
  }
  if (parsed.positional.size() > 1) UsageError("demo にはデータフォルダをひとつ指定してください。");
  const std::string dataFolder = parsed.positional.empty() ? AppGlobal().DataFolder() : parsed.positional[0];
  TDemoOptions options;
  for (const auto& [option, value] : parsed.options) {
    const int32_t number = ParseNumberArgument(option, value);
    if (option == "--years") options.years = number;
    if (option == "--seed") options.seed = static_cast<uint32_t>(number);
    if (option == "--until") {
      if (number % 100 < 1 || number % 100 > 12 || number / 100 < 1) UsageError("--until は yyyymm で指定してください: " + value);
      options.until = number;
    }
  }
  std::vector<std::string> folders;
  std::string error;
  if (!MakeDemoPassbooks(dataFolder, options, folders, error)) throw TCliError(error);
  // The household's card closes at the month's end and is paid from the bank on the 10th,
  // as its entries are made, so the card's bills show as paid.
  TCardStore cards;
  if (!cards.Load(folders.front(), error)) throw TCliError(error);
  cards.Set(TCardSettings{"カード", kCardMonthEnd, 10, 1, "銀行"});
  if (!cards.Save(error)) throw TCliError(error);
  for (const std::string& folder : folders) std::printf("%s\n", folder.c_str());
  return 0;
}

}  // namespace kzm::cli
