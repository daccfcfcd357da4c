#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "archive/ArchiveStream.h"
#include "graphics/Bitmap.h"

namespace kzm {

// A picture handed out by the graphic source: a bitmap with its cache bookkeeping.
class TGraphic4 : public TBitmap {
 public:
  using TBitmap::TBitmap;

  // A kept picture stays cached when its last user releases it.
  [[nodiscard]] bool Keep() const { return m_keep; }
  void SetKeep(bool keep) { m_keep = keep; }
  [[nodiscard]] int RefCount() const { return m_refCount; }
  void SetRefCount(int count) { m_refCount = count; }

 private:
  bool m_keep = false;
  int m_refCount = 0;
};

using TGraphicPtr = std::shared_ptr<TGraphic4>;

// The open archives in the order they were opened, each under its file name without folder
// and extension ("zevazuvu").
class TArchiverList {
 public:
  void Add(std::string name, std::unique_ptr<TArchiveStream> archive);
  [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }
  [[nodiscard]] const std::string& Name(int index) const { return m_items.at(index).first; }
  [[nodiscard]] TArchiveStream& Archive(int index) const { return *m_items.at(index).second; }

 private:
  std::vector<std::pair<std::string, std::unique_ptr<TArchiveStream>>> m_items;
};

// How GetImage hands out a picture.
enum TImageMode : int {
  kImageShared = 0,   // the cached picture (loaded and cached on first use); release it
  kImageKept = 1,     // as shared, and the picture stays cached after its last release
  kImagePrivate = 2,  // the cached picture if there is one, else a fresh uncached one
  kImageNewCopy = 3,  // always loaded anew and cached as a further entry; release it
};

// Pictures by file name ("back.png"), looked up in the resource folder, then the open
// archives, then the pictures built into the program, decoded once and shared through a
// reference-counted cache. Pictures are shared pointers, so one released too early stays
// valid for whoever still holds it.
class TGraphicSource {
 public:
  // resourceFolder ends with "/"; empty means no loose files are looked at.
  explicit TGraphicSource(std::string resourceFolder = {});

  [[nodiscard]] const std::string& ResourceFolder() const { return m_folder; }
  void SetResourceFolder(std::string folder) { m_folder = std::move(folder); }

  // The picture of that name by mode (TImageMode); archives are searched from index start
  // (negative: all). Null when the name is found nowhere; that is reported to the user once
  // per name. Decoding and archive errors throw, and nothing is cached then.
  [[nodiscard]] TGraphicPtr GetImage(std::string_view name, int mode = kImageShared, int start = 0);
  // Hands back a picture from GetImage. Its count falls by one; at zero an entry that is not
  // kept leaves the cache. Pictures that are not cached are left alone.
  void ReleaseImage(const TGraphic4* image);
  void ReleaseImage(const TGraphicPtr& image) { ReleaseImage(image.get()); }

  // Opens an archive file and appends it to the archive list; a missing file is ignored.
  // Throws EarcSTreamError for a file that is not an archive.
  void AddArchive(const std::string& fileName);
  [[nodiscard]] const TArchiverList& Archives() const { return m_archives; }

  // Decodes a picture without caching it. A name beginning with "\" describes a solid
  // picture (CreateSolidImage). Null when the name is found nowhere.
  [[nodiscard]] TGraphicPtr LoadImage(std::string_view name, int start = 0);

  // A plain picture from "\width,height,colour[,32]" (backslashes are dropped; numbers
  // decimal or "$" hexadecimal, unreadable ones 0; "32" gives 32 bits with alpha 255).
  [[nodiscard]] static TGraphicPtr CreateSolidImage(std::string_view description);

  [[nodiscard]] int CacheCount() const { return static_cast<int>(m_cache.size()); }

 private:
  struct TEntry {
    std::string name;
    TGraphicPtr image;
  };

  [[nodiscard]] TEntry* FindCached(std::string_view name);
  [[nodiscard]] TGraphicPtr LoadFromFolder(std::string_view name);
  [[nodiscard]] TGraphicPtr LoadFromArchives(std::string_view name, int start);
  void ReportMissing(std::string_view name);

  std::string m_folder;
  TArchiverList m_archives;
  std::vector<TEntry> m_cache;
  std::set<std::string> m_reported;
};

// The program's picture source. Without one installed, a source with no folder and no
// archives answers (built-in pictures only).
[[nodiscard]] TGraphicSource& ImageSource();
// Installs the program's source (not owned; nullptr restores the default).
void SetImageSource(TGraphicSource* source);

}  // namespace kzm
