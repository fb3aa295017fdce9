#include "base/data_folders.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/utf.h"

namespace lensora {
namespace fs = std::filesystem;

std::optional<std::string> ParseFolderFile(std::span<const unsigned char> bytes) {
    const std::size_t n = std::min(bytes.size(), kFolderFileBytes) / 2;
    std::u16string root;
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t c = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        if (c == 0) {
            if (root.empty()) {
                return std::nullopt;
            }
            return Utf16ToUtf8(root);
        }
        root += c;
    }
    return std::nullopt;  // no terminator: not a path this program wrote
}

std::optional<std::vector<unsigned char>> EncodeFolderFile(std::string_view root) {
    const std::u16string wide = Utf8ToUtf16(root);
    if (wide.size() + 1 > kFolderFileBytes / 2) {
        return std::nullopt;
    }
    std::vector<unsigned char> bytes(kFolderFileBytes, 0);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        bytes[2 * i] = static_cast<unsigned char>(wide[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<unsigned char>(wide[i] >> 8);
    }
    return bytes;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string out(folder);
    if (out.empty() || out.back() != '/') {
        out += '/';
    }
    out += name;
    return out;
}

bool EnsureWritableFolder(std::string_view folder) {
    if (folder.empty()) {
        return false;
    }
    std::error_code ec;
    const fs::path p{std::string(folder)};
    if (!fs::is_directory(p, ec)) {
        fs::create_directories(p, ec);
        if (!fs::is_directory(p, ec)) {
            return false;
        }
    }
    return ::access(p.c_str(), W_OK | X_OK) == 0;
}

namespace {

void SetRoot(DataFolders& folders, std::string_view root) {
    folders.dataRoot = std::string(root);
    folders.pictureFolder = JoinPath(root, "Picture");
    folders.videoFolder = JoinPath(root, "Video");
}

void CreateFolderIgnoringErrors(const std::string& folder) {
    std::error_code ec;
    fs::create_directories(fs::path(folder), ec);
}

std::optional<std::string> ReadRootFromFolderFile(std::string_view appFolder) {
    std::ifstream in(fs::path(JoinPath(appFolder, kFolderFileName)), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::vector<unsigned char> bytes(kFolderFileBytes);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return ParseFolderFile(bytes);
}

}  // namespace

DataFolders LoadFolders(std::string_view appFolder, std::string_view documentsFolder) {
    DataFolders folders;
    folders.appFolder = std::string(appFolder);
    // An unusable stored root would send pictures to a folder that cannot take them; the
    // default folders are used instead.
    if (auto root = ReadRootFromFolderFile(appFolder); root && EnsureWritableFolder(*root)) {
        SetRoot(folders, *root);
        return folders;
    }
    SetRoot(folders, JoinPath(documentsFolder, kDefaultRootName));
    CreateFolderIgnoringErrors(folders.dataRoot);
    CreateFolderIgnoringErrors(folders.videoFolder);
    CreateFolderIgnoringErrors(folders.pictureFolder);
    return folders;
}

bool SaveFolderFile(DataFolders& folders, std::string_view root) {
    auto bytes = EncodeFolderFile(root);
    if (!bytes || root.empty()) {
        return false;
    }
    const fs::path file(JoinPath(folders.appFolder, kFolderFileName));
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        if (!out) {
            return false;
        }
        out.write(reinterpret_cast<const char*>(bytes->data()),
                  static_cast<std::streamsize>(bytes->size()));
        if (!out.flush()) {
            return false;
        }
    }
    SetRoot(folders, root);
    CreateFolderIgnoringErrors(folders.videoFolder);
    CreateFolderIgnoringErrors(folders.pictureFolder);
    return true;
}

}  // namespace lensora
