#include "backup/BackupOwner.h"

#include <cinttypes>
#include <cstdio>

#include "foundation/Csv.h"
#include "foundation/OwnFiles.h"
#include "foundation/ProfileList.h"
#include "foundation/Text.h"

namespace kzm {

namespace {

bool IsHex(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

bool ParseNumber(const std::string& text, int base, uint64_t& value) {
  if (text.empty() || text.size() > 16) return false;
  char* end = nullptr;
  value = std::strtoull(text.c_str(), &end, base);
  return end == text.c_str() + text.size() && text.find_first_of("+- ") == std::string::npos;
}

}  // namespace

std::string ManifestText(const TManifest& manifest) {
  std::string text = CsvJoin({"passbook", manifest.passbookId}) + "\r\n";
  char crc[12];
  for (const TZipMember& member : manifest.members) {
    std::snprintf(crc, sizeof crc, "%08" PRIx32, member.crc);
    text += CsvJoin({member.name, std::to_string(member.size), crc}) + "\r\n";
  }
  return text;
}

bool ParseManifest(std::string_view text, TManifest& manifest, std::string& error) {
  manifest = {};
  const std::vector<std::string> lines = NonEmptyLines(std::string(text));
  std::vector<std::string> fields;
  for (size_t i = 0; i < lines.size(); ++i) {
    CsvSplit(lines[i], fields);
    if (i == 0) {
      if (fields.size() != 2 || fields[0] != "passbook" || !(fields[1].empty() || IsHex(fields[1]))) {
        error = "バックアップの目録が読めません。";
        return false;
      }
      manifest.passbookId = fields[1];
      continue;
    }
    uint64_t size = 0, crc = 0;
    if (fields.size() != 3 || fields[0].empty() || !ParseNumber(fields[1], 10, size) || fields[2].size() != 8 ||
        !ParseNumber(fields[2], 16, crc)) {
      error = "バックアップの目録の " + std::to_string(i + 1) + " 行目が読めません。";
      return false;
    }
    manifest.members.push_back({fields[0], 0, size, static_cast<uint32_t>(crc)});
  }
  if (lines.empty()) error = "バックアップの目録が空です。";
  return !lines.empty();
}

}  // namespace kzm
