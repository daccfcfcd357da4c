#include "foundation/Resources.h"

#include "foundation/Codec.h"
#include "foundation/EmbeddedResources.h"

#include <sstream>

namespace kzm {

std::string ReadResourceText(std::string_view name) {
  const auto bytes = FindEmbeddedResource(name);
  return bytes ? DecodeCp932(*bytes) : std::string();
}

std::unique_ptr<std::istream> OpenResource(std::string_view name) {
  const auto bytes = FindEmbeddedResource(name);
  if (!bytes) return nullptr;
  return std::make_unique<std::istringstream>(std::string(*bytes));
}

}  // namespace kzm
