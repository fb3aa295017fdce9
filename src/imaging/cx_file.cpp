#include "imaging/cx_file.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace lensora {

char* CxFile::ReadLine(char* text, int maxCount) {
    if (text == nullptr || maxCount <= 0) {
        return nullptr;
    }
    int n = 0;
    while (n + 1 < maxCount) {
        const long c = ReadByte();
        if (c < 0) {
            break;
        }
        text[n++] = static_cast<char>(c);
        if (c == '\n') {
            break;
        }
    }
    text[n] = '\0';
    return n > 0 ? text : nullptr;
}

// ---- CxIOFile ----

CxIOFile::~CxIOFile() {
    Close();
}

bool CxIOFile::Open(const std::string& pathUtf8, const char* mode) {
    Close();
    // Linux file names are byte strings; the program's UTF-8 path is passed through unchanged.
    file_ = std::fopen(pathUtf8.c_str(), mode);
    ownsFile_ = file_ != nullptr;
    return file_ != nullptr;
}

std::size_t CxIOFile::ReadItems(void* buffer, std::size_t size, std::size_t count) {
    if (file_ == nullptr || size == 0 || count == 0) {
        return 0;
    }
    return std::fread(buffer, size, count, file_);
}

std::size_t CxIOFile::WriteItems(const void* buffer, std::size_t size, std::size_t count) {
    if (file_ == nullptr || size == 0 || count == 0) {
        return 0;
    }
    return std::fwrite(buffer, size, count, file_);
}

bool CxIOFile::Seek(std::int64_t offset, int origin) {
    if (file_ == nullptr || offset < std::numeric_limits<long>::min() ||
        offset > std::numeric_limits<long>::max()) {
        return false;
    }
    return std::fseek(file_, static_cast<long>(offset), origin) == 0;
}

std::int64_t CxIOFile::Tell() {
    return file_ != nullptr ? std::ftell(file_) : -1;
}

std::int64_t CxIOFile::Size() {
    if (file_ == nullptr) {
        return -1;
    }
    const long position = std::ftell(file_);
    if (position < 0 || std::fseek(file_, 0, SEEK_END) != 0) {
        return -1;
    }
    const long size = std::ftell(file_);
    std::fseek(file_, position, SEEK_SET);
    return size;
}

bool CxIOFile::Flush() {
    return file_ != nullptr && std::fflush(file_) == 0;
}

bool CxIOFile::Eof() {
    return file_ == nullptr || std::feof(file_) != 0;
}

long CxIOFile::Error() {
    return file_ == nullptr ? 1 : std::ferror(file_);
}

bool CxIOFile::WriteByte(std::uint8_t c) {
    return file_ != nullptr && std::fputc(c, file_) != EOF;
}

long CxIOFile::ReadByte() {
    return file_ != nullptr ? std::fgetc(file_) : EOF;
}

char* CxIOFile::ReadLine(char* text, int maxCount) {
    if (file_ == nullptr || text == nullptr || maxCount <= 0) {
        return nullptr;
    }
    return std::fgets(text, maxCount, file_);
}

bool CxIOFile::Close() {
    bool ok = true;
    if (file_ != nullptr && ownsFile_) {
        ok = std::fclose(file_) == 0;
    }
    file_ = nullptr;
    ownsFile_ = false;
    return ok;
}

// ---- CxMemFile ----

CxMemFile::CxMemFile(const std::uint8_t* buffer, std::size_t size)
    : lent_(buffer), size_(buffer != nullptr ? size : 0) {}

CxMemFile::CxMemFile(std::uint8_t* buffer, std::size_t size)
    : lent_(buffer), lentWritable_(buffer), size_(buffer != nullptr ? size : 0) {}

std::size_t CxMemFile::ReadItems(void* buffer, std::size_t size, std::size_t count) {
    if (size == 0 || count == 0 || position_ >= size_) {
        return 0;
    }
    const std::size_t items = std::min(count, (size_ - position_) / size);
    if (items > 0) {
        std::memcpy(buffer, Data() + position_, items * size);
        position_ += items * size;
    }
    if (items < count) {
        // Like fread, a short read consumes the partial item too.
        position_ = size_;
    }
    return items;
}

std::size_t CxMemFile::WriteItems(const void* buffer, std::size_t size, std::size_t count) {
    if (size == 0 || count == 0) {
        return 0;
    }
    if (count > std::numeric_limits<std::size_t>::max() / size) {
        error_ = true;
        return 0;
    }
    const std::size_t bytes = size * count;
    if (lent_ != nullptr) {
        if (lentWritable_ == nullptr || position_ > size_ || bytes > size_ - position_) {
            error_ = true;
            return 0;
        }
        std::memcpy(lentWritable_ + position_, buffer, bytes);
    } else {
        if (position_ + bytes > own_.size()) {
            own_.resize(position_ + bytes);
        }
        std::memcpy(own_.data() + position_, buffer, bytes);
        size_ = std::max(size_, position_ + bytes);
    }
    position_ += bytes;
    return count;
}

bool CxMemFile::Seek(std::int64_t offset, int origin) {
    std::int64_t base = 0;
    if (origin == SEEK_CUR) {
        base = static_cast<std::int64_t>(position_);
    } else if (origin == SEEK_END) {
        base = static_cast<std::int64_t>(size_);
    } else if (origin != SEEK_SET) {
        return false;
    }
    if (offset > std::numeric_limits<std::int64_t>::max() - base) {
        return false;
    }
    const std::int64_t target = base + offset;
    // A lent block cannot grow, so seeking past its end is refused; an own block may be
    // positioned past its end and the gap is zero-filled on the next write.
    if (target < 0 || (lent_ != nullptr && target > static_cast<std::int64_t>(size_))) {
        return false;
    }
    position_ = static_cast<std::size_t>(target);
    return true;
}

long CxMemFile::ReadByte() {
    if (position_ >= size_) {
        return EOF;
    }
    return Data()[position_++];
}

}  // namespace lensora
