#pragma once

// Folders and files. Paths are UTF-8 and use "/".

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kzm {

// True when the folder already exists. Otherwise creates it with every missing parent and
// returns false (also when creating failed: the first file operation there reports that).
bool EnsureFolder(const std::string& folder);

// True when name can be a file or folder name on every system the data may travel to:
// none of \ / : * ? " < > |, no control character, and not "." or "..".
[[nodiscard]] bool IsValidFileName(std::string_view name);

// Whether a file name matches a mask of "*" (any run of characters) and "?" (exactly one
// character); ASCII letters match without regard to case. "*.*" matches every name.
[[nodiscard]] bool MatchesMask(std::string_view name, std::string_view mask);

// What a reader or a listing does with a symbolic link in place of the file or folder it is
// given (folders on the way are followed either way). Files of our own refuse it, and so does
// a listing whose files are then deleted: a link could lead out of the passbook.
enum class TLinkRule : uint8_t { lrFollow, lrRefuse };

// The files (not folders) of folder whose names match mask, as folder + "/" + name, hidden
// files included, in the order the file system returns them. list is replaced. False (errno
// set) when something is at folder but cannot be listed: a plain file, no permission.
// Refusing links, only plain files are listed, and a link in place of folder lists nothing
// and gives false with ELOOP.
bool ListFiles(const std::string& folder, std::string_view mask, std::vector<std::string>& list,
               TLinkRule links = TLinkRule::lrFollow);
// The same for every entry whose name matches, whatever it is (a folder, a link, one that
// cannot be looked at): for callers that must tell the user about what they cannot read.
bool ListEntries(const std::string& folder, std::string_view mask, std::vector<std::string>& list);
// The sub-folders of folder as folder + "/" + name, "." and ".." left out, in file-system
// order. list is replaced.
void ListSubFolders(const std::string& folder, std::vector<std::string>& list);

// Shell folders the program asks for.
enum class TSpecialFolder { sfAppData, sfDesktop, sfHome };
// Path of a special folder, without trailing "/": application data is $XDG_DATA_HOME
// (default ~/.local/share); the desktop is the XDG desktop folder when it exists, else
// home. Falls back to the desktop when a folder cannot be found.
[[nodiscard]] std::string SpecialFolder(TSpecialFolder id);

[[nodiscard]] bool FileExists(const std::string& path);
[[nodiscard]] bool FolderExists(const std::string& path);

}  // namespace kzm
