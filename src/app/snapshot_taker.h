// Turns a camera frame into a snapshot: the frame at capture size with the live view's
// measurements drawn at the capture scale (records first, then the white cross and the cross
// ruler), saved as "Still_..._N0007.jpg" (or .bmp) in the picture folder, or as the temporary
// picture 10000.bmp in the application folder for the report. Also the grab into memory, which
// keeps the bare frame as the held picture. The file is written whole or not at all; a failed
// snapshot is shown to the user with the file name and the reason.
// Plain C++; user-interface thread (it reads the live records and may show a notice). The
// drawing surface comes from a factory, so the program draws with the platform's painter and
// tests with their own.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>

#include "base/drawing_surface.h"
#include "canvas/live_renderer.h"
#include "capture/frame_store.h"
#include "export/export_file.h"

namespace lensora {

class CxImage;
class UserPrompts;

inline constexpr std::string_view kTemporaryPictureName = "10000.bmp";
inline constexpr int kSnapshotJpegQuality = 90;

// What the live view draws into a snapshot besides the frame.
struct SnapshotScene {
    const LiveRecords* records = nullptr;  // stored for the 640 x 480 video area
    LiveLabelStyle labels;
    bool whiteCross = false;
    bool crossRuler = false;
    RulerSettings ruler;  // pixels per unit of the live display
};

// Where and how a snapshot is saved.
struct SnapshotTarget {
    std::string pictureFolder;
    std::string appFolder;
    std::uint32_t imageFormat = 2;  // the ImageFormat setting: 1 BMP, anything else JPEG
    std::string magnification;      // the MagnificationBox text
};

struct SnapshotOutcome {
    bool composed = false;  // a picture was made (even when the file then failed)
    bool written = false;   // the file is complete under `path`
    std::string path;       // the file written, or the one that could not be
    std::string error;      // the message shown when writing failed
};

using SurfaceFactory = std::function<std::unique_ptr<DrawingSurface>(int width, int height)>;

// The local time now.
std::tm LocalTimeNow();

// The notice for a snapshot file that could not be written: the reason in words the operator
// can act on (a full disk, a folder that cannot be written) and the file name.
std::string SnapshotWriteFailureText(const std::string& path, const std::string& reason);

// The bare frame as a 24-bit picture; false (and `out` unchanged) without a frame.
bool FrameToImage(const FrameCopy& frame, CxImage& out);

class SnapshotTaker {
  public:
    SnapshotTaker(SurfaceFactory surfaces, UserPrompts& prompts,
                  const FileSeam& seam = SystemFileSeam());

    // The local time the names are formed from; tests fix it.
    std::function<std::tm()> clock = LocalTimeNow;

    // The picture as the snapshot composes it: the frame at its own size, the records scaled
    // from the 640 x 480 video area by the capture-size factor, then the cross and the ruler
    // when they are switched on. False without a frame or when no surface could be made.
    bool Compose(const FrameCopy& frame, const SnapshotScene& scene, CxImage& out) const;

    // Composes and saves: with `temporary` to <appFolder>/10000.bmp (always BMP, replaced each
    // time), else to the next free name of the picture folder. A write failure leaves no file
    // behind and, for a picture-folder snapshot, is shown to the user (the temporary picture's
    // caller has the picture in `picture` and only gets the outcome). `picture`, when given,
    // receives the composed picture.
    SnapshotOutcome TakeSnapshot(const FrameCopy& frame, const SnapshotScene& scene,
                                 const SnapshotTarget& target, bool temporary,
                                 CxImage* picture = nullptr) const;

  private:
    SurfaceFactory surfaces_;
    UserPrompts& prompts_;
    FileSeam seam_;
};

}  // namespace lensora
