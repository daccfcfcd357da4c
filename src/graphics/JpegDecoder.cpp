#include "graphics/JpegDecoder.h"

// libjpeg's header needs FILE and size_t declared first.
#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include "foundation/Errors.h"

namespace kzm {

namespace {

// libjpeg reports fatal errors through a callback that must not return; it jumps back to
// the decoder, because a C++ exception may not unwind through the C library's frames.
struct TJpegError {
  jpeg_error_mgr base{};
  std::jmp_buf jump{};
};

[[noreturn]] void OnJpegError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<TJpegError*>(info->err)->jump, 1);
}

void SilenceWarning(j_common_ptr, int) {}

enum class TJpegResult { Ok, Broken, TooLarge };

// Free of C++ objects with destructors, so the jump back is safe.
TJpegResult Decode(jpeg_decompress_struct& info, TJpegError& error, std::string_view bytes, TBitmap& out) {
  if (setjmp(error.jump) != 0) return TJpegResult::Broken;
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_EXT_BGR;
  if (!TBitmap::SizeAllowed(info.image_width, info.image_height)) return TJpegResult::TooLarge;
  out.SetSize(static_cast<int>(info.image_width), static_cast<int>(info.image_height), 24);
  jpeg_start_decompress(&info);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out.Row(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  return TJpegResult::Ok;
}

}  // namespace

void LoadJpegBytes(TBitmap& bitmap, std::string_view bytes) {
  jpeg_decompress_struct info{};
  TJpegError error;
  info.err = jpeg_std_error(&error.base);
  error.base.error_exit = OnJpegError;
  error.base.emit_message = SilenceWarning;
  jpeg_create_decompress(&info);
  TBitmap decoded;
  const TJpegResult result = Decode(info, error, bytes, decoded);
  jpeg_destroy_decompress(&info);
  if (result == TJpegResult::TooLarge) throw EkzmError("JPEG画像が大きすぎます");
  if (result == TJpegResult::Broken) throw EkzmError("JPEGファイルを読み込めません");
  bitmap = std::move(decoded);
}

void ScrambleJpx(std::string& bytes) {
  const std::size_t n = bytes.size();
  unsigned key = kJpxStartKey;
  for (std::size_t i = 0; i < n; ++i) {
    bytes[i] = static_cast<char>(static_cast<unsigned char>(bytes[i]) ^ key);
    key = static_cast<unsigned>((key + n - i) & 0xFF);
  }
}

}  // namespace kzm
