// The main window's snapshot path: the snapshot command (F2, command 1005) and the grab into
// memory set the camera's snapshot request; when the camera hands over the frame
// (CameraService::snapshotFrame) the snapshot is composed and saved, listed and selected in the
// thumbnail strip, and the shutter sounds. Also the camera-button switch (1204, IsEnableSnap),
// the snapshot file type (ImageFormat) and the report's temporary picture.
// Owned by the main window; the widgets it is wired to belong to the main window and the camera
// is attached or detached by it. UI thread only.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "app/snapshot_taker.h"
#include "base/text_keys.h"
#include "capture/frame_store.h"
#include "export/docx_writer.h"

class QAbstractButton;
class QLineEdit;

namespace lensora {

class AppState;
class CameraService;
class LiveSession;
class SoundPlayer;
class ThumbnailStrip;
class UserPrompts;

// The message of a snapshot command while neither the preview nor a recording runs.
inline constexpr TextKey kReturnToPreview{"BrowseToCamera", "Please return to the preview state"};

// Painter surfaces for snapshots, drawing into one picture kept between snapshots of a size.
SurfaceFactory SnapshotSurfaces();

class SnapshotController : public QObject {
    Q_OBJECT
  public:
    struct Wiring {
        ThumbnailStrip* strip = nullptr;          // where a new snapshot is listed
        QLineEdit* magnificationBox = nullptr;    // its text goes into the file name
        QAbstractButton* cameraButton = nullptr;  // the switch 1204, checked while enabled
        std::function<bool()> liveRunning;        // the preview or a recording is on
    };

    SnapshotController(AppState& app, LiveSession& session, UserPrompts& prompts,
                       QObject* parent = nullptr);
    ~SnapshotController() override;

    // Connects the widgets; the magnification box refuses '/' and NUL from now on, and the
    // camera button shows the stored IsEnableSnap.
    void SetUp(Wiring wiring);
    // The sounds; null (the default) plays nothing. Not owned.
    void SetSoundPlayer(SoundPlayer* sounds) { sounds_ = sounds; }
    // Where files are written through (copied); tests make writes fail.
    void SetFileSeam(const FileSeam& seam);
    // Takes the snapshot frames of `camera` (null detaches).
    void Attach(CameraService* camera);

    // F2 / command 1005: only while the preview or a recording runs, else the notice.
    // True when a snapshot was requested.
    bool RequestUserSnapshot();
    // The next frame becomes the held picture (silent, no file).
    void RequestGrabIntoMemory();
    // Command 1204: flips IsEnableSnap, the button, the camera's button grabber and the stored
    // value; the main window rebuilds the tooltips on cameraButtonChanged.
    void ToggleCameraButton();
    // The Format submenu: 1 BMP, 2 JPEG; stored at once.
    void SetSnapshotFileType(int type);
    // The report's picture: the newest frame composed as a snapshot and kept as 10000.bmp in
    // the application folder. nullopt without a camera frame.
    std::optional<ExportPicture> ReportPicture();

    // The last snapshot written or attempted.
    const SnapshotOutcome& LastOutcome() const { return lastOutcome_; }

  signals:
    void cameraButtonChanged(bool enabled);
    void heldPictureChanged();
    void snapshotSaved(const QString& path);

  private:
    void OnSnapshotFrame(int source);
    bool CopyNewestFrame();
    SnapshotScene Scene() const;
    SnapshotTarget Target() const;

    AppState& app_;
    LiveSession& session_;
    UserPrompts& prompts_;
    Wiring wiring_;
    SoundPlayer* sounds_ = nullptr;
    CameraService* camera_ = nullptr;
    std::unique_ptr<SnapshotTaker> taker_;
    FrameCopy frame_;  // reused from one snapshot to the next
    SnapshotOutcome lastOutcome_;
};

}  // namespace lensora
