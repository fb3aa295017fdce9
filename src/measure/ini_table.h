// IniTable: the reader and writer of the calibration file, a text file of "[section]" lines,
// each followed by "key=value" lines. The whole file is read into memory, looked up and changed
// there, and written back in one piece by Close(). Lines containing "//" are comments.
//
// The file is treated as UTF-8 text: a leading byte-order mark is dropped, "\r\n" line ends
// read as "\n", a missing final line end and any other bytes are kept as they are. Close()
// replaces the file atomically (a temporary file in the same folder, flushed, then renamed
// over it), so a crash or a full disk leaves either the old or the new file, never half of one.
//
// Section and key names that would break the line structure (see IsStorableName) are never
// looked up or written, so they cannot change other entries.
//
// One table is opened, used and closed within one operation; not thread-safe.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lensora {

class IniTable {
  public:
    // Files larger than this are not loaded: no calibration file comes near it, and rewriting
    // an unknown huge file is not the table's business.
    static constexpr std::size_t kMaxFileBytes = 16u << 20;

    // Reads every line of `path`. Fails, leaving the table not loaded, when the file cannot be
    // opened or read (an empty file loads as an empty table).
    bool Load(const std::string& path);
    // Takes the lines of `text` (the content of a file) as Load does, keeping the path.
    void LoadFromText(std::string_view text);
    bool IsLoaded() const { return loaded_; }

    // The value of `key` in `section`: the first line which, trimmed and without its first
    // and last character, equals `section` ignoring ASCII case, is the section; in the lines
    // after it a line containing "//" is skipped, a line containing "[" ends the section, and
    // the first line containing `key` is the entry. The value is the entry's text after its
    // first "=", untrimmed. nullopt when not loaded, not found, or the entry has no "=".
    std::optional<std::string> GetValue(std::string_view section, std::string_view key) const;

    // Sets `key` in `section` to `value` (in memory; Close() writes). The entry that GetValue
    // would read is replaced; a section without the key gets the entry before the next
    // section (or at the end of the file); a missing section is appended with its entry.
    // Returns false and changes nothing when not loaded or a name or the value is not
    // storable.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);

    // When loaded, rewrites the file with every line followed by "\n", then drops the lines
    // and is no longer loaded. Returns whether the file was written; on failure the old file
    // is left as it was. Not loaded: does nothing and returns false.
    bool Close();

    const std::vector<std::string>& Lines() const { return lines_; }

    // A name can be stored when it is not blank and contains no "[", "]", "=", "//", line
    // break or zero character: each of those would make its lines read as another section,
    // another entry or a comment.
    static bool IsStorableName(std::string_view name);

  private:
    std::optional<std::size_t> FindSection(std::string_view section) const;

    std::string path_;
    std::vector<std::string> lines_;
    bool loaded_ = false;
};

// Writes `bytes` to `path` through a temporary file in the same folder that is flushed to disk
// and renamed over `path`. On failure the temporary file is removed and `path` is untouched.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace lensora
