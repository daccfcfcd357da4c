#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "foundation/Csv.h"
#include "sync/LineMerge.h"

namespace kzm {

namespace {

// A file as keyed lines in order (the key's first line counts, as the stores read it) and the
// other lines.
struct TKeyedLines {
  std::vector<std::string> order;
  std::map<std::string, std::string_view> lines;
  std::vector<std::string_view> others;
};

using TKeyer = std::function<std::string(std::string_view line, std::string& section)>;

TKeyedLines Gather(std::string_view bytes, const TKeyer& keyer) {
  TKeyedLines file;
  std::string section;
  for (const std::string_view line : SplitLines(bytes)) {
    const std::string key = keyer(line, section);
    if (key.empty()) {
      file.others.push_back(line);
    } else if (file.lines.emplace(key, line).second) {
      file.order.push_back(key);
    }
  }
  return file;
}

std::optional<std::string_view> LineOf(const TKeyedLines& file, const std::string& key) {
  const auto it = file.lines.find(key);
  return it == file.lines.end() ? std::nullopt : std::optional(it->second);
}

// The merged line of each key (none: the key is gone), and the keys both sides changed.
std::map<std::string, std::string_view> MergeKeys(const TKeyedLines* base, const TKeyedLines& ours,
                                                  const TKeyedLines& theirs, bool oursNewer,
                                                  const TLinePick& pick, TKeyedMerge& merge) {
  std::set<std::string> keys(ours.order.begin(), ours.order.end());
  keys.insert(theirs.order.begin(), theirs.order.end());
  std::map<std::string, std::string_view> result;
  for (const std::string& key : keys) {
    const auto o = LineOf(ours, key);
    const auto t = LineOf(theirs, key);
    const auto b = base ? LineOf(*base, key) : std::nullopt;
    std::optional<std::string_view> kept;
    if (o == t) {
      kept = o;
    } else if (base && o == b) {
      kept = t;
      ++merge.added;
    } else if (base && t == b) {
      kept = o;
    } else if (!o || !t) {
      // Without a base, or removed on one side and changed on the other: nothing is dropped.
      kept = o ? o : t;
      if (!o) ++merge.added;
    } else {
      const int rule = pick ? pick(*o, *t) : 0;
      kept = rule > 0 || (rule == 0 && oursNewer) ? o : t;
      if (rule == 0) merge.conflictKeys.push_back(key);
    }
    if (kept) result.emplace(key, *kept);
  }
  return result;
}

// The kept lines of the keys wanted, in the order the copies hold them (this copy's first, then
// the other's new keys), each taken out of kept so that it comes once.
using TKeptLines = std::map<std::string, std::string_view>;
std::vector<std::string_view> TakeInOrder(TKeptLines& kept, const TKeyedLines& ours, const TKeyedLines& theirs,
                                          const std::function<bool(const std::string&)>& wanted = {}) {
  std::vector<std::string_view> lines;
  for (const auto* order : {&ours.order, &theirs.order}) {
    for (const std::string& key : *order) {
      if (wanted && !wanted(key)) continue;
      const auto it = kept.find(key);
      if (it == kept.end()) continue;
      lines.push_back(it->second);
      kept.erase(it);
    }
  }
  return lines;
}

void AppendLine(std::string& bytes, std::string_view line) {
  bytes += line;
  bytes += "\r\n";
}

// Lines that are no records: this side's, then the other's it lacks.
void AppendOthers(std::string& bytes, const TKeyedLines& ours, const TKeyedLines& theirs) {
  std::multiset<std::string_view> seen(ours.others.begin(), ours.others.end());
  for (const std::string_view line : ours.others) AppendLine(bytes, line);
  for (const std::string_view line : theirs.others) {
    if (const auto it = seen.find(line); it != seen.end()) {
      seen.erase(it);
    } else {
      AppendLine(bytes, line);
    }
  }
}

// The text between <tag> and </tag> in block, empty when there is none.
std::string_view Element(std::string_view block, std::string_view tag) {
  const std::string open = "<" + std::string(tag) + ">";
  const size_t start = block.find(open);
  const size_t end = block.find("</" + std::string(tag) + ">", start);
  if (start == std::string_view::npos || end == std::string_view::npos) return {};
  return block.substr(start + open.size(), end - start - open.size());
}

// The <head> elements of a category file, each with its whole lines, keyed by name and kind;
// prefix and suffix the bytes around them.
struct TCategoryBlocks {
  TKeyedLines blocks;
  std::string_view prefix;
  std::string_view suffix;
};

TCategoryBlocks CategoryBlocks(std::string_view bytes) {
  TCategoryBlocks file;
  size_t end = 0;
  size_t first = std::string_view::npos;
  for (size_t open = bytes.find("<head>"); open != std::string_view::npos; open = bytes.find("<head>", end)) {
    const size_t close = bytes.find("</head>", open);
    if (close == std::string_view::npos) break;
    const size_t lineStart = bytes.rfind('\n', open);
    const size_t start = lineStart == std::string_view::npos ? 0 : lineStart + 1;
    if (start < end) break;  // two elements on one line: left as they are
    const size_t lineEnd = bytes.find('\n', close);
    end = lineEnd == std::string_view::npos ? bytes.size() : lineEnd + 1;
    first = std::min(first, start);
    const std::string_view block = bytes.substr(start, end - start);
    const std::string key = std::string(Element(block, "name")) + '\x1f' + std::string(Element(block, "kind"));
    if (file.blocks.lines.emplace(key, block).second) file.blocks.order.push_back(key);
  }
  file.prefix = bytes.substr(0, first == std::string_view::npos ? bytes.size() : first);
  file.suffix = first == std::string_view::npos ? std::string_view{} : bytes.substr(end);
  return file;
}

}  // namespace

TKeyedMerge MergeCategoryBytes(const std::string* base, std::string_view ours, std::string_view theirs,
                               bool oursNewer) {
  const std::optional<TCategoryBlocks> baseBlocks = base ? std::optional(CategoryBlocks(*base)) : std::nullopt;
  const TCategoryBlocks oursBlocks = CategoryBlocks(ours);
  const TCategoryBlocks theirsBlocks = CategoryBlocks(theirs);
  TKeyedMerge merge;
  auto kept = MergeKeys(baseBlocks ? &baseBlocks->blocks : nullptr, oursBlocks.blocks, theirsBlocks.blocks, oursNewer,
                        {}, merge);
  merge.bytes = oursBlocks.prefix;
  // Each copy's order of categories is the order the person set; this copy's holds.
  for (const std::string_view block : TakeInOrder(kept, oursBlocks.blocks, theirsBlocks.blocks)) merge.bytes += block;
  merge.bytes += oursBlocks.suffix;
  return merge;
}

TKeyedMerge MergeKeyedBytes(const std::string* base, std::string_view ours, std::string_view theirs,
                            const TLineKeyOf& keyOf, bool oursNewer, const TLinePick& pick) {
  const TKeyer keyer = [&keyOf](std::string_view line, std::string&) { return keyOf(CsvSplit(line)); };
  const std::optional<TKeyedLines> baseLines = base ? std::optional(Gather(*base, keyer)) : std::nullopt;
  const TKeyedLines oursLines = Gather(ours, keyer);
  const TKeyedLines theirsLines = Gather(theirs, keyer);
  TKeyedMerge merge;
  auto kept = MergeKeys(baseLines ? &*baseLines : nullptr, oursLines, theirsLines, oursNewer, pick, merge);
  for (const std::string_view line : TakeInOrder(kept, oursLines, theirsLines)) AppendLine(merge.bytes, line);
  AppendOthers(merge.bytes, oursLines, theirsLines);
  return merge;
}

TKeyedMerge MergeIniBytes(const std::string* base, std::string_view ours, std::string_view theirs, bool oursNewer) {
  // A key is "SECTION\x1fNAME"; a section's own line is keyed by the section alone, so that it
  // comes out once, before its names.
  const TKeyer keyer = [](std::string_view line, std::string& section) -> std::string {
    if (line.starts_with('[') && line.ends_with(']')) {
      section = std::string(line.substr(1, line.size() - 2));
      return section;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || line.starts_with(';')) return {};
    return section + '\x1f' + std::string(line.substr(0, equals));
  };
  const std::optional<TKeyedLines> baseLines = base ? std::optional(Gather(*base, keyer)) : std::nullopt;
  const TKeyedLines oursLines = Gather(ours, keyer);
  const TKeyedLines theirsLines = Gather(theirs, keyer);
  TKeyedMerge merge;
  auto kept = MergeKeys(baseLines ? &*baseLines : nullptr, oursLines, theirsLines, oursNewer, {}, merge);
  // Section by section: this side's names, then the other's new ones.
  std::vector<std::string> sectionOrder;
  for (const auto& order : {oursLines.order, theirsLines.order}) {
    for (const std::string& key : order) {
      if (key.find('\x1f') == std::string::npos && std::find(sectionOrder.begin(), sectionOrder.end(), key) == sectionOrder.end()) {
        sectionOrder.push_back(key);
      }
    }
  }
  sectionOrder.insert(sectionOrder.begin(), std::string());  // names before any section
  for (const std::string& section : sectionOrder) {
    if (!section.empty()) AppendLine(merge.bytes, "[" + section + "]");
    const auto inSection = [&section](const std::string& key) {
      return key.size() > section.size() && key.compare(0, section.size(), section) == 0 && key[section.size()] == '\x1f';
    };
    for (const std::string_view line : TakeInOrder(kept, oursLines, theirsLines, inSection)) AppendLine(merge.bytes, line);
  }
  AppendOthers(merge.bytes, oursLines, theirsLines);
  return merge;
}

}  // namespace kzm
