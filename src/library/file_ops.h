// The file operations of the media library behind a small interface, so that tests can make a
// copy or a delete fail the way a full disk or a read-only folder would. Failures carry the
// system's text for the error (strerror). Paths are UTF-8.
#pragma once

#include <string>
#include <vector>

namespace lensora {

class FileOps {
  public:
    virtual ~FileOps() = default;
    // Copies `from` to `to`, replacing an existing target. On failure `error` gets the text.
    virtual bool Copy(const std::string& from, const std::string& to, std::string& error) = 0;
    virtual bool Remove(const std::string& path, std::string& error) = 0;
};

// The real file system.
class SystemFileOps : public FileOps {
  public:
    bool Copy(const std::string& from, const std::string& to, std::string& error) override;
    bool Remove(const std::string& path, std::string& error) override;
};

// Starts a program from an argument vector (argv[0] is the program, looked up on PATH), never
// through a shell. False when it could not be started.
class ProcessLauncher {
  public:
    virtual ~ProcessLauncher() = default;
    virtual bool Start(const std::vector<std::string>& argv) = 0;
};

}  // namespace lensora
