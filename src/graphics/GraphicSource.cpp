#include "graphics/GraphicSource.h"
#include "archive/ProgramArchives.h"

#include <exception>
#include <filesystem>

#include "foundation/EmbeddedResources.h"
#include "foundation/WindowSystem.h"
#include "graphics/GraphicLoader.h"

namespace kzm {

namespace {

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if ((x >= 'A' && x <= 'Z' ? x + 32 : x) != (y >= 'A' && y <= 'Z' ? y + 32 : y)) return false;
  }
  return true;
}

TGraphicSource* g_installed = nullptr;

}  // namespace

void TArchiverList::Add(std::string name, std::unique_ptr<TArchiveStream> archive) {
  m_items.emplace_back(std::move(name), std::move(archive));
}

TGraphicSource::TGraphicSource(std::string resourceFolder) : m_folder(std::move(resourceFolder)) {}

TGraphicSource::TEntry* TGraphicSource::FindCached(std::string_view name) {
  for (TEntry& e : m_cache) {
    if (SameName(e.name, name)) return &e;
  }
  return nullptr;
}

TGraphicPtr TGraphicSource::GetImage(std::string_view name, int mode, int start) {
  if (mode != kImageNewCopy) {
    if (TEntry* cached = FindCached(name)) {
      cached->image->SetRefCount(cached->image->RefCount() + 1);
      if (mode == kImageKept) cached->image->SetKeep(true);
      return cached->image;
    }
  }
  TGraphicPtr image = LoadImage(name, start);
  if (!image || mode == kImagePrivate) return image;
  image->SetRefCount(1);
  image->SetKeep(mode == kImageKept);
  m_cache.push_back({std::string(name), image});
  return image;
}

void TGraphicSource::ReleaseImage(const TGraphic4* image) {
  for (auto it = m_cache.begin(); it != m_cache.end(); ++it) {
    if (it->image.get() != image) continue;
    it->image->SetRefCount(it->image->RefCount() - 1);
    if (it->image->RefCount() <= 0 && !it->image->Keep()) m_cache.erase(it);
    return;
  }
}

void TGraphicSource::AddArchive(const std::string& fileName) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(fileName, ec)) return;
  m_archives.Add(std::filesystem::path(fileName).stem().string(), std::make_unique<TArchiveStream>(fileName));
}

bool AddProgramArchives(TGraphicSource& source, const std::string& appFolder) {
  bool allOpened = true;
  for (const char* name : {"graphic", "zevazuvu.arc"}) {
    try {
      source.AddArchive(appFolder + name);
    } catch (const std::exception&) {
      allOpened = false;
    }
  }
  return allOpened;
}

TGraphicPtr TGraphicSource::LoadFromFolder(std::string_view name) {
  if (m_folder.empty()) return nullptr;
  const std::string path = m_folder + std::string(name);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return nullptr;
  auto image = std::make_shared<TGraphic4>();
  TFileReadStream stream(path);
  LoadGraphicByExt(*image, name, stream);
  return image;
}

TGraphicPtr TGraphicSource::LoadFromArchives(std::string_view name, int start) {
  for (int i = std::max(start, 0); i < m_archives.Count(); ++i) {
    TArchiveStream& archive = m_archives.Archive(i);
    if (!archive.SelectName(name)) continue;
    auto image = std::make_shared<TGraphic4>();
    LoadGraphicByExt(*image, name, archive);
    return image;
  }
  return nullptr;
}

TGraphicPtr TGraphicSource::LoadImage(std::string_view name, int start) {
  if (!name.empty() && name.front() == '\\') return CreateSolidImage(name);
  if (TGraphicPtr image = LoadFromFolder(name)) return image;
  if (TGraphicPtr image = LoadFromArchives(name, start)) return image;
  if (const auto bytes = FindEmbeddedResource(name)) {
    auto image = std::make_shared<TGraphic4>();
    TMemoryStream stream(*bytes);
    LoadGraphicByExt(*image, name, stream);
    return image;
  }
  ReportMissing(name);
  return nullptr;
}

void TGraphicSource::ReportMissing(std::string_view name) {
  // Once per name: a window that repaints would otherwise ask again and again.
  if (m_reported.insert(std::string(name)).second) {
    WindowSystem().Notify("画像「" + std::string(name) + "」が見つかりません");
  }
}

TGraphicSource& ImageSource() {
  static TGraphicSource fallback;
  return g_installed ? *g_installed : fallback;
}

void SetImageSource(TGraphicSource* source) { g_installed = source; }

}  // namespace kzm
