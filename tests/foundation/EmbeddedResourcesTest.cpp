#include "foundation/EmbeddedResources.h"

#include <gtest/gtest.h>

namespace kzm {
namespace {

TEST(EmbeddedResources, UnknownNameIsAbsent) {
  EXPECT_FALSE(FindEmbeddedResource("no-such-resource.png").has_value());
  EXPECT_FALSE(FindEmbeddedResource("").has_value());
}

}  // namespace
}  // namespace kzm
