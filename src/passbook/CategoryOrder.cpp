#include "passbook/CategoryOrder.h"

#include "passbook/Categories.h"

namespace kzm {

int AddKeyAfterKind(THeadList& list, std::string_view key) {
  const int index = list.IndexOfKey(key);
  if (index >= 0) return index;
  const int kind = KeyKind(key);
  int at = list.Count();
  for (int i = 0; i < list.Count(); ++i) {
    if (list.KindOf(i) == kind && (i + 1 == list.Count() || list.KindOf(i + 1) != kind)) {
      at = i + 1;
      break;
    }
  }
  list.InsertKey(at, key);
  return at;
}

}  // namespace kzm
