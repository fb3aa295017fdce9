// The folders where the program keeps its settings and where pictures and videos go, and the
// binary folder file "folderpath.dat" that remembers a user-chosen data root.
// Paths are UTF-8 strings; subfolders are joined with "/".
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lensora {

struct DataFolders {
    std::string appFolder;      // per-user folder for every settings file the program writes
    std::string dataRoot;       // root of the picture and video folders
    std::string pictureFolder;  // dataRoot + "/Picture"
    std::string videoFolder;    // dataRoot + "/Video"
};

inline constexpr std::string_view kFolderFileName = "folderpath.dat";
inline constexpr std::size_t kFolderFileBytes = 520;  // 260 UTF-16 units, zero-filled
inline constexpr std::string_view kDefaultRootName = "Lensora files";

// The data root stored in a folder file's bytes: the UTF-16LE characters up to the first zero
// character. nullopt when the file is empty, has no zero character within its 520 bytes, or
// holds an empty path.
std::optional<std::string> ParseFolderFile(std::span<const unsigned char> bytes);

// The 520 bytes of a folder file for `root`; nullopt when the path does not fit (259 UTF-16
// units at most, so that the terminator fits).
std::optional<std::vector<unsigned char>> EncodeFolderFile(std::string_view root);

std::string JoinPath(std::string_view folder, std::string_view name);

// Fills the folders: the root from the folder file in `appFolder` when it names a folder that
// exists (or can be created) and can be written, with its subfolders formed but not created;
// otherwise documentsFolder + "/Lensora files" with both subfolders created.
DataFolders LoadFolders(std::string_view appFolder, std::string_view documentsFolder);

// Writes the folder file for `root` and, when that succeeded, switches the picture and video
// folders to it and creates them. Returns false (folders unchanged) when the file cannot be
// written.
bool SaveFolderFile(DataFolders& folders, std::string_view root);

// True when `folder` exists as a directory (creating it if needed) and the process may write
// into it.
bool EnsureWritableFolder(std::string_view folder);

}  // namespace lensora
