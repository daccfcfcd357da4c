#include "backup/BackupArchive.h"

#include <zip.h>

namespace kzm {

namespace {

// Fast deflate: a passbook is a few megabytes of text, and a backup must not hold up the
// program; the files still shrink to about a fifth.
constexpr zip_uint32_t kDeflateLevel = 1;

std::string ZipErrorText(zip_error_t* error) {
  return zip_error_strerror(error);
}

// Adds one member; the bytes stay the caller's until zip_close.
bool AddMember(zip_t* archive, const TBackupMember& member, std::string& error) {
  zip_source_t* source = zip_source_buffer(archive, member.bytes.data(), member.bytes.size(), 0);
  if (!source) {
    error = zip_strerror(archive);
    return false;
  }
  const zip_int64_t index = zip_file_add(archive, member.name.c_str(), source, ZIP_FL_ENC_UTF_8);
  if (index < 0) {
    zip_source_free(source);
    error = zip_strerror(archive);
    return false;
  }
  const auto at = static_cast<zip_uint64_t>(index);
  if (zip_set_file_compression(archive, at, ZIP_CM_DEFLATE, kDeflateLevel) < 0 ||
      (member.modified > 0 && zip_file_set_mtime(archive, at, member.modified, 0) < 0)) {
    error = zip_strerror(archive);
    return false;
  }
  return true;
}

// The bytes libzip wrote into the buffer source.
bool TakeBuffer(zip_source_t* buffer, std::string& bytes, std::string& error) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_source_stat(buffer, &stat) < 0 || !(stat.valid & ZIP_STAT_SIZE) || zip_source_open(buffer) < 0) {
    error = ZipErrorText(zip_source_error(buffer));
    return false;
  }
  bytes.resize(stat.size);
  const zip_int64_t got = zip_source_read(buffer, bytes.data(), stat.size);
  zip_source_close(buffer);
  if (got < 0 || static_cast<zip_uint64_t>(got) != stat.size) {
    error = "作ったzipを読み出せませんでした。";
    return false;
  }
  return true;
}

}  // namespace

bool BuildZip(const std::vector<TBackupMember>& members, std::string_view comment, std::string& zipBytes,
              std::string& error) {
  zipBytes.clear();
  zip_error_t openError;
  zip_error_init(&openError);
  zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &openError);
  if (!buffer) {
    error = "zipを作れませんでした: " + ZipErrorText(&openError);
    zip_error_fini(&openError);
    return false;
  }
  // The buffer outlives the archive, so that its bytes can be taken after zip_close.
  zip_source_keep(buffer);
  zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &openError);
  if (!archive) {
    error = "zipを作れませんでした: " + ZipErrorText(&openError);
    zip_error_fini(&openError);
    zip_source_free(buffer);
    return false;
  }
  zip_error_fini(&openError);
  bool ok = true;
  for (const TBackupMember& member : members) {
    if (!(ok = AddMember(archive, member, error))) break;
  }
  if (ok && zip_set_archive_comment(archive, comment.data(), static_cast<zip_uint16_t>(comment.size())) < 0) {
    error = zip_strerror(archive);
    ok = false;
  }
  if (ok && zip_close(archive) < 0) {
    error = zip_strerror(archive);
    ok = false;
  }
  if (!ok) {
    zip_discard(archive);
    zip_source_free(buffer);
    error = "zipを作れませんでした: " + error;
    return false;
  }
  ok = TakeBuffer(buffer, zipBytes, error);
  zip_source_free(buffer);
  return ok;
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
    zip_error_t zipError;
    zip_error_init_with_code(&zipError, code);
    error = "バックアップを開けませんでした: " + path + "\n" + ZipErrorText(&zipError);
    zip_error_fini(&zipError);
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

std::vector<std::string> TZipReader::Names() const {
  std::vector<std::string> names;
  if (!m_archive) return names;
  const zip_int64_t count = zip_get_num_entries(m_archive.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(m_archive.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
    if (!name || !*name) continue;
    std::string text = name;
    if (text.back() != '/') names.push_back(std::move(text));
  }
  return names;
}

bool TZipReader::Read(const std::string& name, std::string& bytes, std::string& error) const {
  bytes.clear();
  const auto fail = [&](const std::string& why) {
    error = "バックアップの " + name + " を読めませんでした (" + m_path + "): " + why;
    return false;
  };
  if (!m_archive) return fail("開いていません。");
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat(m_archive.get(), name.c_str(), 0, &stat) < 0) return fail("ありません。");
  if (!(stat.valid & ZIP_STAT_SIZE) || stat.size > kMaxMemberSize) return fail("大きすぎます。");
  zip_file_t* file = zip_fopen_index(m_archive.get(), stat.index, 0);
  if (!file) return fail(zip_strerror(m_archive.get()));
  bytes.resize(stat.size);
  const zip_int64_t got = stat.size == 0 ? 0 : zip_fread(file, bytes.data(), stat.size);
  const std::string why = got < 0 ? ZipErrorText(zip_file_get_error(file)) : std::string();
  zip_fclose(file);
  if (got < 0 || static_cast<zip_uint64_t>(got) != stat.size) {
    bytes.clear();
    return fail(why.empty() ? "途中で切れています。" : why);
  }
  return true;
}

}  // namespace kzm
