#include "statement/ColumnMappingCheck.h"

#include <algorithm>

#include "foundation/Text.h"

namespace kzm {

bool CheckColumnMapping(const TStatementLayout& layout, std::string& error) {
  const bool signedAmount = layout.signed_.index >= 0 || !layout.signed_.names.empty();
  const bool outOrIn = layout.out.index >= 0 || !layout.out.names.empty() || layout.in.index >= 0 ||
                       !layout.in.names.empty();
  TColumns columns;
  const std::string_view name = Trim(layout.name);
  if (signedAmount && outOrIn) {
    error = "金額は、出金と入金の列（out と in）か、出入金がひとつの列（amount）の、どちらか一方で指定してください。";
  } else if (!ResolveColumns(layout, {}, columns)) {
    error = "列の割り当てには、日付の列（date）と、金額の列（出金 out と入金 in、または出入金がひとつの列 amount）が要ります。";
  } else if (name.empty()) {
    error = "プリセット名を入れてください。";
  } else if (std::any_of(BuiltInLayouts().begin(), BuiltInLayouts().end(),
                         [&](const TStatementLayout& builtIn) { return SameText(builtIn.name, name); })) {
    error = "「" + std::string(name) + "」は最初から用意されている形式の名前です。ほかの名前にしてください。";
  } else {
    return true;
  }
  return false;
}

}  // namespace kzm
