// The outcome of one export: written, cancelled by the user, or failed with a reason that the
// window shows. Plain value.
#pragma once

#include <string>

namespace lensora {

struct ExportResult {
    enum class Status { Saved, Cancelled, Failed };
    Status status = Status::Saved;
    std::string reason;  // why it failed, for the message

    static ExportResult Saved() { return {}; }
    static ExportResult Cancelled() { return {Status::Cancelled, {}}; }
    static ExportResult Failed(std::string why) { return {Status::Failed, std::move(why)}; }
    bool ok() const { return status == Status::Saved; }
};

}  // namespace lensora
