#include "app/snapshot_taker.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "base/data_folders.h"
#include "base/user_prompts.h"
#include "capture/snapshot_naming.h"
#include "imaging/cx_file.h"
#include "imaging/cx_image.h"

namespace lensora {
namespace {

bool HasFrame(const FrameCopy& frame) {
    const BitmapInfoHeader& h = frame.header;
    return frame.sequence != 0 && h.width > 0 && h.height > 0 &&
           frame.bytes.size() >= std::size_t(h.width) * 3 * std::size_t(h.height);
}

bool ReasonIs(const std::string& reason, std::initializer_list<int> errors) {
    for (int e : errors) {
        if (reason == std::strerror(e)) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::tm LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

std::string SnapshotWriteFailureText(const std::string& path, const std::string& reason) {
    std::string why;
    if (ReasonIs(reason, {ENOSPC, EDQUOT})) {
        why = "the disk is full";
    } else if (ReasonIs(reason, {EACCES, EPERM, EROFS})) {
        why = "the folder cannot be written";
    } else if (ReasonIs(reason, {ENOENT, ENOTDIR})) {
        why = "the folder does not exist";
    } else {
        why = reason;
    }
    return "The snapshot was not saved: " + why + ".\n" + path;
}

bool FrameToImage(const FrameCopy& frame, CxImage& out) {
    if (!HasFrame(frame)) {
        return false;
    }
    const int width = frame.header.width;
    const int height = frame.header.height;
    CxImage image;
    if (!image.Create(width, height, 24, kImageTypeBmp)) {
        return false;
    }
    // The store keeps rows bottom-up and unpadded; the picture pads each row to 4 bytes.
    const std::size_t row = std::size_t(width) * 3;
    for (int y = 0; y < height; ++y) {
        std::memcpy(image.StoredRow(y), frame.bytes.data() + std::size_t(y) * row, row);
    }
    out = std::move(image);
    return true;
}

SnapshotTaker::SnapshotTaker(SurfaceFactory surfaces, UserPrompts& prompts, const FileSeam& seam)
    : surfaces_(std::move(surfaces)), prompts_(prompts), seam_(seam) {}

bool SnapshotTaker::Compose(const FrameCopy& frame, const SnapshotScene& scene,
                            CxImage& out) const {
    if (!HasFrame(frame) || !surfaces_) {
        return false;
    }
    const int width = frame.header.width;
    const int height = frame.header.height;
    std::unique_ptr<DrawingSurface> surface = surfaces_(width, height);
    if (surface == nullptr || surface->Width() != width || surface->Height() != height) {
        return false;
    }
    const DibView dib{width, height, 24, std::size_t(width) * 3, frame.bytes.data()};
    SnapshotOverlayInput in;
    in.frame = &dib;
    in.records = scene.records;
    in.captureWidth = width;
    in.captureHeight = height;
    in.labels = scene.labels;
    in.whiteCross = scene.whiteCross;
    in.crossRuler = scene.crossRuler;
    in.ruler = scene.ruler;
    if (!ComposeSnapshot(*surface, in)) {
        return false;
    }
    const std::optional<PixelBufferView> pixels = surface->Pixels();
    if (!pixels || pixels->data == nullptr) {
        return false;
    }
    return out.CreateFromDrawnBitmap(pixels->data, pixels->width, pixels->height,
                                     static_cast<std::ptrdiff_t>(pixels->stride), 32);
}

SnapshotOutcome SnapshotTaker::TakeSnapshot(const FrameCopy& frame, const SnapshotScene& scene,
                                            const SnapshotTarget& target, bool temporary,
                                            CxImage* picture) const {
    SnapshotOutcome outcome;
    const bool bmp = temporary || IsBmpFormat(target.imageFormat);
    if (temporary) {
        outcome.path = JoinPath(target.appFolder, kTemporaryPictureName);
    } else {
        // A picture folder removed while the program runs is made again.
        std::error_code ignored;
        std::filesystem::create_directories(target.pictureFolder, ignored);
        const std::string_view extension = SnapshotExtension(target.imageFormat);
        const int sequence = ScanSequenceNumber(target.pictureFolder, extension, &prompts_).next;
        outcome.path =
            JoinPath(target.pictureFolder,
                     SnapshotFileName(clock(), target.magnification, sequence, extension));
    }

    CxImage composed;
    if (!Compose(frame, scene, composed)) {
        return outcome;
    }
    outcome.composed = true;

    CxMemFile bytes;
    composed.SetJpegQuality(kSnapshotJpegQuality);
    std::optional<std::string> failure;
    if (!composed.Encode(&bytes, bmp ? kImageTypeBmp : kImageTypeJpeg)) {
        failure = composed.LastError().empty() ? std::string("the picture could not be encoded")
                                               : composed.LastError();
    } else {
        failure = SaveFileAtomically(
            outcome.path,
            std::string_view(reinterpret_cast<const char*>(bytes.Data()), bytes.DataSize()), seam_);
    }
    if (failure) {
        outcome.error = SnapshotWriteFailureText(outcome.path, *failure);
        // The temporary picture is the report's business: the report still gets the picture
        // in memory, so only a real snapshot tells the operator.
        if (!temporary) {
            prompts_.Show(outcome.error, PromptIcon::Error);
        }
    } else {
        outcome.written = true;
    }
    if (picture != nullptr) {
        *picture = std::move(composed);
    }
    return outcome;
}

}  // namespace lensora
