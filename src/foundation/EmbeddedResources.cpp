#include "foundation/EmbeddedResources.h"

#include <cctype>

namespace kzm {

namespace {

std::string BaseNameUpper(std::string_view name) {
  const auto slash = name.find_last_of("/\\");
  if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
  const auto dot = name.rfind('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  std::string upper(name);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

}  // namespace

std::optional<std::string_view> FindEmbeddedResource(std::string_view name) {
  const std::string key = BaseNameUpper(name);
  for (const TEmbeddedResource* r = kEmbeddedResources; r->name; ++r) {
    if (key == r->name) return std::string_view(reinterpret_cast<const char*>(r->data), r->size);
  }
  return std::nullopt;
}

}  // namespace kzm
