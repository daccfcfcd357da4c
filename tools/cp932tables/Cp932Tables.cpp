// Writes the CP932 tables the codec is built with, as the system's iconv converts each code,
// so that the program never builds them through iconv when it runs.
// Usage: cp932tables OUTPUT.inc
#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

// One conversion of a whole input through a fresh state; the errno of the failure, or 0.
int Convert(iconv_t cd, const std::string& in, std::string& out) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  out.assign(16, '\0');
  char* inPtr = const_cast<char*>(in.data());
  size_t inLeft = in.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  out.resize(out.size() - outLeft);
  if (r == static_cast<size_t>(-1)) return errno;
  return inLeft == 0 ? 0 : EILSEQ;
}

// The one code point a code decodes to; false when it is not exactly one character.
bool DecodeOne(iconv_t cd, const std::string& code, uint32_t& cp, int& error) {
  std::string out;
  error = Convert(cd, code, out);
  if (error != 0 || out.size() != 4) return false;
  cp = 0;
  for (int i = 3; i >= 0; --i) cp = cp << 8 | static_cast<unsigned char>(out[static_cast<size_t>(i)]);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: cp932tables OUTPUT\n");
    return 2;
  }
  iconv_t decoder = iconv_open("UTF-32LE", "CP932");
  iconv_t encoder = iconv_open("CP932", "UTF-32LE");
  if (decoder == reinterpret_cast<iconv_t>(-1) || encoder == reinterpret_cast<iconv_t>(-1)) {
    std::fprintf(stderr, "cp932tables: iconv cannot convert CP932\n");
    return 1;
  }
  // Single bytes: the code point, -1 for no character, -2 for a lead byte.
  std::vector<long> single(256, -1);
  std::vector<std::pair<unsigned, uint32_t>> codes;  // every code with its character, in code order
  for (unsigned b = 0; b < 256; ++b) {
    uint32_t cp = 0;
    int error = 0;
    if (DecodeOne(decoder, std::string(1, static_cast<char>(b)), cp, error)) {
      single[b] = static_cast<long>(cp);
      codes.emplace_back(b, cp);
    } else if (error == EINVAL && b >= 0x80) {
      single[b] = -2;
    }
  }
  for (unsigned lead = 0x80; lead < 256; ++lead) {
    if (single[lead] != -2) continue;
    for (unsigned trail = 0; trail < 256; ++trail) {
      uint32_t cp = 0;
      int error = 0;
      const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
      if (DecodeOne(decoder, code, cp, error) && cp != 0) codes.emplace_back(lead << 8 | trail, cp);
    }
  }
  FILE* out = std::fopen(argv[1], "w");
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  std::fprintf(out, "// Made by cp932tables from the system's iconv at build time.\n");
  std::fprintf(out, "constexpr int32_t kSingleBytes[256] = {");
  for (unsigned b = 0; b < 256; ++b) std::fprintf(out, "%s%ld,", b % 16 ? "" : "\n", single[b]);
  std::fprintf(out, "\n};\n// Code, the character it decodes to, and the code iconv writes for that character (0: none).\n");
  std::fprintf(out, "constexpr TCodeRow kCodes[] = {");
  int n = 0;
  for (const auto& [code, cp] : codes) {
    unsigned written = 0;
    const char in[4] = {static_cast<char>(cp), static_cast<char>(cp >> 8), static_cast<char>(cp >> 16),
                        static_cast<char>(cp >> 24)};
    std::string bytes;
    if (cp != 0 && cp <= 0xFFFF && Convert(encoder, std::string(in, 4), bytes) == 0 && !bytes.empty() &&
        bytes.size() <= 2) {
      for (const char c : bytes) written = written << 8 | static_cast<unsigned char>(c);
    }
    std::fprintf(out, "%s{0x%X,0x%X,0x%X},", n++ % 6 ? "" : "\n", code, cp, written);
  }
  std::fprintf(out, "\n};\n");
  iconv_close(decoder);
  iconv_close(encoder);
  return std::fclose(out) == 0 ? 0 : 1;
}
