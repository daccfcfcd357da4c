#include "backup/BackupArchive.h"

#include <zip.h>
#include <zlib.h>

#include <array>

namespace kzm {

namespace {

// Fast deflate: a passbook is a few megabytes of text, and a backup must not hold up the
// program; the files still shrink to about a fifth.
constexpr zip_uint32_t kDeflateLevel = 1;
constexpr size_t kBlockSize = 64 * 1024;

std::string ZipErrorText(zip_error_t* error) {
  return zip_error_strerror(error);
}

std::string OpenErrorText(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = ZipErrorText(&error);
  zip_error_fini(&error);
  return text;
}

}  // namespace

uint32_t ZipCrc(uint32_t crc, std::string_view bytes) {
  return static_cast<uint32_t>(::crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

void TZipWriter::TDiscard::operator()(zip* archive) const {
  zip_discard(archive);
}

TZipWriter::TZipWriter() = default;
TZipWriter::~TZipWriter() = default;

bool TZipWriter::Open(const std::string& path, std::string& error) {
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  if (!archive) {
    error = "zipを作れませんでした: " + path + "\n" + OpenErrorText(code);
    return false;
  }
  m_archive.reset(archive);
  return true;
}

bool TZipWriter::AddSource(const std::string& name, zip_source_t* source, std::time_t modified, std::string& error) {
  const zip_int64_t index = source ? zip_file_add(m_archive.get(), name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
  if (index < 0) {
    if (source) zip_source_free(source);
    error = zip_strerror(m_archive.get());
    return false;
  }
  const auto at = static_cast<zip_uint64_t>(index);
  if (zip_set_file_compression(m_archive.get(), at, ZIP_CM_DEFLATE, kDeflateLevel) < 0 ||
      (modified > 0 && zip_file_set_mtime(m_archive.get(), at, modified, 0) < 0)) {
    error = zip_strerror(m_archive.get());
    return false;
  }
  return true;
}

bool TZipWriter::AddFile(const std::string& name, const std::string& source, uint64_t size, std::time_t modified,
                         std::string& error) {
  // A length of 0 would mean "to the end" to libzip.
  zip_source_t* file = size == 0 ? zip_source_buffer(m_archive.get(), nullptr, 0, 0)
                                 : zip_source_file(m_archive.get(), source.c_str(), 0, static_cast<zip_int64_t>(size));
  return AddSource(name, file, modified, error);
}

bool TZipWriter::AddBytes(const std::string& name, std::string bytes, std::string& error) {
  const std::string& held = m_held.emplace_back(std::move(bytes));
  return AddSource(name, zip_source_buffer(m_archive.get(), held.data(), held.size(), 0), 0, error);
}

bool TZipWriter::Close(std::string_view comment, std::string& error) {
  if (zip_set_archive_comment(m_archive.get(), comment.data(), static_cast<zip_uint16_t>(comment.size())) < 0 ||
      zip_close(m_archive.get()) < 0) {
    error = "zipを作れませんでした: " + std::string(zip_strerror(m_archive.get()));
    return false;
  }
  (void)m_archive.release();  // closed: nothing left to discard
  m_held.clear();
  return true;
}

void TZipReader::TClose::operator()(zip* archive) const {
  zip_discard(archive);
}

TZipReader::TZipReader() = default;
TZipReader::~TZipReader() = default;

bool TZipReader::Open(const std::string& path, std::string& error) {
  m_archive.reset();
  m_path = path;
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
  if (!archive) {
    error = "バックアップを開けませんでした: " + path + "\n" + OpenErrorText(code);
    return false;
  }
  m_archive.reset(archive);
  return true;
}

std::string TZipReader::Comment() const {
  if (!m_archive) return {};
  int length = 0;
  const char* text = zip_get_archive_comment(m_archive.get(), &length, ZIP_FL_ENC_RAW);
  return text && length > 0 ? std::string(text, static_cast<size_t>(length)) : std::string();
}

std::vector<TZipMember> TZipReader::Members() const {
  std::vector<TZipMember> members;
  if (!m_archive) return members;
  const zip_int64_t count = zip_get_num_entries(m_archive.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m_archive.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS, &stat) < 0 ||
        !(stat.valid & ZIP_STAT_NAME) || !stat.name || !*stat.name) {
      continue;
    }
    std::string name = stat.name;
    if (name.back() == '/') continue;
    members.push_back({std::move(name), stat.index, (stat.valid & ZIP_STAT_SIZE) ? stat.size : UINT64_MAX,
                       (stat.valid & ZIP_STAT_CRC) ? stat.crc : 0});
  }
  return members;
}

std::vector<std::string> TZipReader::Names() const {
  std::vector<std::string> names;
  for (TZipMember& member : Members()) names.push_back(std::move(member.name));
  return names;
}

bool TZipReader::Extract(const TZipMember& member, const TSink& sink, std::string& error) const {
  const auto fail = [&](const std::string& why) {
    error = "バックアップの " + member.name + " を読めませんでした (" + m_path + "): " + why;
    return false;
  };
  if (!m_archive) return fail("開いていません。");
  if (member.size > kMaxMemberSize) return fail("大きすぎます。");
  zip_file_t* file = zip_fopen_index(m_archive.get(), member.index, 0);
  if (!file) return fail(zip_strerror(m_archive.get()));
  std::array<char, kBlockSize> block;
  uint64_t total = 0;
  uint32_t crc = 0;
  std::string why;
  // Read to the end, past the stated size: only there does a longer member show.
  for (;;) {
    const zip_int64_t got = zip_fread(file, block.data(), block.size());
    if (got < 0) {
      why = ZipErrorText(zip_file_get_error(file));
      break;
    }
    if (got == 0) break;
    total += static_cast<uint64_t>(got);
    const std::string_view bytes(block.data(), static_cast<size_t>(got));
    crc = ZipCrc(crc, bytes);
    if (total > member.size) {
      why = "書かれている大きさより長くなっています。";
      break;
    }
    if (!sink(bytes)) {
      why = "書き出せませんでした。";
      break;
    }
  }
  zip_fclose(file);
  if (!why.empty()) return fail(why);
  if (total != member.size) return fail("途中で切れています。");
  if (crc != member.crc) return fail("中身が壊れています (CRCが合いません)。");
  return true;
}

bool TZipReader::Read(const std::string& name, std::string& bytes, std::string& error) const {
  bytes.clear();
  for (const TZipMember& member : Members()) {
    if (member.name != name) continue;
    const bool read = Extract(member, [&](std::string_view block) {
      bytes.append(block);
      return true;
    }, error);
    if (!read) bytes.clear();
    return read;
  }
  error = "バックアップの " + name + " を読めませんでした (" + m_path + "): ありません。";
  return false;
}

}  // namespace kzm
