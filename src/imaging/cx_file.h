// Byte streams that the image codecs read from and write to: an abstract stream and two
// implementations, one over a C runtime file and one over a block of memory.
// A stream is used by one thread at a time; it owns nothing that its creator lent to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace lensora {

// Abstract stream with the C runtime's file semantics (short reads at the end, a sticky error).
class CxFile {
  public:
    virtual ~CxFile() = default;

    // Reads up to `count` items of `itemSize` bytes; returns the number of whole items read.
    virtual std::size_t ReadItems(void* buffer, std::size_t itemSize, std::size_t count) = 0;
    // Writes `count` items of `itemSize` bytes; returns the number of whole items written.
    virtual std::size_t WriteItems(const void* buffer, std::size_t itemSize, std::size_t count) = 0;
    // origin is SEEK_SET, SEEK_CUR or SEEK_END. Returns false when the position is invalid.
    virtual bool Seek(std::int64_t offset, int origin) = 0;
    virtual std::int64_t Tell() = 0;
    // Total length in bytes, or -1 when unknown.
    virtual std::int64_t Size() = 0;
    virtual bool Flush() = 0;
    virtual bool Eof() = 0;
    // Non-zero after a failed read or write.
    virtual long Error() = 0;
    // Writes one byte; false when it could not be written.
    virtual bool WriteByte(std::uint8_t c) = 0;
    // The next byte, or -1 (EOF) at the end.
    virtual long ReadByte() = 0;
    // Reads a line of at most `maxCount` - 1 bytes including its '\n' into `text` and ends it
    // with a zero. Returns `text`, or nullptr when nothing could be read.
    virtual char* ReadLine(char* text, int maxCount);
    virtual bool Close() = 0;
};

// A stream over a C runtime FILE. A file it opened itself it closes; a FILE handed in stays
// open and belongs to the caller.
class CxIOFile final : public CxFile {
  public:
    explicit CxIOFile(std::FILE* file = nullptr) : file_(file) {}
    ~CxIOFile() override;
    CxIOFile(const CxIOFile&) = delete;
    CxIOFile& operator=(const CxIOFile&) = delete;

    // Opens a UTF-8 path with an fopen mode ("rb", "wb"). Closes any file it opened before.
    bool Open(const std::string& pathUtf8, const char* mode);
    bool IsOpen() const { return file_ != nullptr; }
    std::FILE* Handle() const { return file_; }

    std::size_t ReadItems(void* buffer, std::size_t itemSize, std::size_t count) override;
    std::size_t WriteItems(const void* buffer, std::size_t itemSize, std::size_t count) override;
    bool Seek(std::int64_t offset, int origin) override;
    std::int64_t Tell() override;
    std::int64_t Size() override;
    bool Flush() override;
    bool Eof() override;
    long Error() override;
    bool WriteByte(std::uint8_t c) override;
    long ReadByte() override;
    char* ReadLine(char* text, int maxCount) override;
    bool Close() override;

  private:
    std::FILE* file_ = nullptr;
    bool ownsFile_ = false;
};

// A stream over memory. Constructed over a lent block it reads and writes inside that block
// (writes past its end fail) and never frees it; constructed empty it keeps a block of its own
// that grows as it is written, readable through Data() and DataSize().
class CxMemFile final : public CxFile {
  public:
    CxMemFile() = default;
    CxMemFile(const std::uint8_t* buffer, std::size_t size);
    CxMemFile(std::uint8_t* buffer, std::size_t size);

    const std::uint8_t* Data() const { return lent_ != nullptr ? lent_ : own_.data(); }
    std::size_t DataSize() const { return size_; }

    std::size_t ReadItems(void* buffer, std::size_t itemSize, std::size_t count) override;
    std::size_t WriteItems(const void* buffer, std::size_t itemSize, std::size_t count) override;
    bool Seek(std::int64_t offset, int origin) override;
    std::int64_t Tell() override { return static_cast<std::int64_t>(position_); }
    std::int64_t Size() override { return static_cast<std::int64_t>(size_); }
    bool Flush() override { return true; }
    bool Eof() override { return position_ >= size_; }
    long Error() override { return error_ ? 1 : 0; }
    bool WriteByte(std::uint8_t c) override { return WriteItems(&c, 1, 1) == 1; }
    long ReadByte() override;
    bool Close() override { return true; }

  private:
    const std::uint8_t* lent_ = nullptr;
    std::uint8_t* lentWritable_ = nullptr;  // null for a read-only lent block
    std::vector<std::uint8_t> own_;
    std::size_t size_ = 0;
    std::size_t position_ = 0;
    bool error_ = false;
};

}  // namespace lensora
