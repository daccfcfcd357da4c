#pragma once

#include <cstddef>
#include <cstdint>

namespace kzm::png {

// Undoes a PNG row filter in place (0 None, 1 Sub, 2 Up, 3 Average, 4 Paeth). prior is the
// previous row already unfiltered (all zeros above the first row); distance is the bytes of
// one whole pixel, at least 1. Any other filter value leaves the row as it is.
void UnfilterRow(int filter, std::uint8_t* row, const std::uint8_t* prior, std::size_t length,
                 std::size_t distance);

}  // namespace kzm::png
