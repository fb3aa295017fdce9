#include "export/zip_package.h"

#include <zip.h>

namespace lensora {

std::optional<std::string> BuildZip(const std::vector<ZipEntry>& entries, std::string* error) {
    const auto failWith = [error](const char* text) -> std::optional<std::string> {
        if (error != nullptr) {
            *error = text;
        }
        return std::nullopt;
    };
    zip_error_t zerr;
    zip_error_init(&zerr);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &zerr);
    if (target == nullptr) {
        zip_error_fini(&zerr);
        return failWith("cannot create the package in memory");
    }
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &zerr);
    zip_error_fini(&zerr);
    if (archive == nullptr) {
        zip_source_free(target);
        return failWith("cannot create the package in memory");
    }
    // The archive would free the target on close; the bytes are read from it afterwards.
    zip_source_keep(target);
    for (const ZipEntry& e : entries) {
        zip_source_t* src = zip_source_buffer(archive, e.data.data(), e.data.size(), 0);
        if (src == nullptr) {
            zip_discard(archive);
            zip_source_free(target);
            return failWith("cannot add a part to the package");
        }
        const zip_int64_t index =
            zip_file_add(archive, e.name.c_str(), src, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
        if (index < 0) {
            zip_source_free(src);
            zip_discard(archive);
            zip_source_free(target);
            return failWith("cannot add a part to the package");
        }
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                 e.compress ? ZIP_CM_DEFLATE : ZIP_CM_STORE, e.compress ? 6 : 0);
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        zip_source_free(target);
        return failWith("cannot write the package");
    }
    std::string bytes;
    if (zip_source_open(target) == 0) {
        zip_source_seek(target, 0, SEEK_END);
        const zip_int64_t size = zip_source_tell(target);
        zip_source_seek(target, 0, SEEK_SET);
        if (size > 0) {
            bytes.resize(static_cast<std::size_t>(size));
            const zip_int64_t got = zip_source_read(target, bytes.data(), bytes.size());
            if (got != size) {
                bytes.clear();
            }
        }
        zip_source_close(target);
    }
    zip_source_free(target);
    if (bytes.empty()) {
        return failWith("cannot read the package back from memory");
    }
    return bytes;
}

ZipReader::ZipReader(std::string bytes) : bytes_(std::move(bytes)) {
    // libzip takes no bytes for an empty archive; an empty file is no package at all.
    if (bytes_.empty()) {
        return;
    }
    zip_error_t zerr;
    zip_error_init(&zerr);
    zip_source_t* src = zip_source_buffer_create(bytes_.data(), bytes_.size(), 0, &zerr);
    if (src != nullptr) {
        archive_ = zip_open_from_source(src, ZIP_RDONLY | ZIP_CHECKCONS, &zerr);
        if (archive_ == nullptr) {
            zip_source_free(src);
        }
    }
    zip_error_fini(&zerr);
}

ZipReader::~ZipReader() {
    if (archive_ != nullptr) {
        zip_discard(archive_);
    }
}

std::vector<std::string> ZipReader::Names() const {
    std::vector<std::string> names;
    if (archive_ == nullptr) {
        return names;
    }
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        if (const char* name = zip_get_name(archive_, static_cast<zip_uint64_t>(i), 0)) {
            names.emplace_back(name);
        }
    }
    return names;
}

std::optional<std::string> ZipReader::Read(std::string_view name, std::size_t maxSize) const {
    if (archive_ == nullptr) {
        return std::nullopt;
    }
    const std::string key(name);
    const zip_int64_t index = zip_name_locate(archive_, key.c_str(), 0);
    if (index < 0) {
        return std::nullopt;
    }
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &st) != 0 ||
        (st.valid & ZIP_STAT_SIZE) == 0 || st.size > maxSize) {
        return std::nullopt;
    }
    zip_file_t* file = zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0);
    if (file == nullptr) {
        return std::nullopt;
    }
    std::string data(static_cast<std::size_t>(st.size), '\0');
    const zip_int64_t got = zip_fread(file, data.data(), data.size());
    zip_fclose(file);
    if (got < 0 || static_cast<zip_uint64_t>(got) != st.size) {
        return std::nullopt;
    }
    return data;
}

}  // namespace lensora
