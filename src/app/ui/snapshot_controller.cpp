#include "app/ui/snapshot_controller.h"

#include <QAbstractButton>
#include <QImage>
#include <QLineEdit>
#include <QValidator>

#include "app/app_state.h"
#include "base/persisted_settings.h"
#include "base/sound_player.h"
#include "base/text_keys.h"
#include "base/user_prompts.h"
#include "capture/snapshot_naming.h"
#include "export/report_picture.h"
#include "imaging/cx_image.h"
#include "library/ui/thumbnail_strip.h"
#include "live/live_session.h"
#include "platform/camera_service.h"
#include "platform/qt_drawing_surface.h"

namespace lensora {
namespace {

// Keeps characters out of the magnification box that could not stand in a snapshot's name.
class NameSafeValidator final : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return IsNameSafeMagnification(input.toStdString()) ? Acceptable : Invalid;
    }
};

}  // namespace

SurfaceFactory SnapshotSurfaces() {
    // One picture for every snapshot of a size: the frame covers all of it, so it is neither
    // allocated nor cleared again.
    auto image = std::make_shared<QImage>();
    return [image](int width, int height) -> std::unique_ptr<DrawingSurface> {
        if (image->width() != width || image->height() != height) {
            *image = QImage(width, height, QImage::Format_RGB32);
        }
        return std::make_unique<QtDrawingSurface>(*image);
    };
}

SnapshotController::SnapshotController(AppState& app, LiveSession& session, UserPrompts& prompts,
                                       QObject* parent)
    : QObject(parent),
      app_(app),
      session_(session),
      prompts_(prompts),
      taker_(std::make_unique<SnapshotTaker>(SnapshotSurfaces(), prompts)) {}

SnapshotController::~SnapshotController() = default;

void SnapshotController::SetUp(Wiring wiring) {
    wiring_ = std::move(wiring);
    if (QLineEdit* box = wiring_.magnificationBox; box != nullptr && box->validator() == nullptr) {
        box->setValidator(new NameSafeValidator(box));
    }
    if (wiring_.cameraButton != nullptr) {
        wiring_.cameraButton->setChecked(app_.Settings().isEnableSnap == 1);
    }
}

void SnapshotController::SetFileSeam(const FileSeam& seam) {
    taker_ = std::make_unique<SnapshotTaker>(SnapshotSurfaces(), prompts_, seam);
}

void SnapshotController::Attach(CameraService* camera) {
    if (camera_ != nullptr) {
        disconnect(camera_, nullptr, this, nullptr);
    }
    camera_ = camera;
    frame_ = FrameCopy{};
    if (camera_ != nullptr) {
        connect(camera_, &CameraService::snapshotFrame, this, &SnapshotController::OnSnapshotFrame);
    }
}

bool SnapshotController::RequestUserSnapshot() {
    // A request without a running stream would wait and take whatever frame comes first
    // after a reconnection; refuse it instead.
    const bool running = wiring_.liveRunning && wiring_.liveRunning() && camera_ != nullptr &&
                         camera_->Connection().Connected();
    if (!running) {
        prompts_.Show(GetText(kReturnToPreview), PromptIcon::Exclamation);
        return false;
    }
    camera_->Pipeline().Snapshot().RequestByUser();
    return true;
}

void SnapshotController::RequestGrabIntoMemory() {
    if (camera_ != nullptr) {
        camera_->Pipeline().Snapshot().RequestGrab();
    }
}

void SnapshotController::ToggleCameraButton() {
    AppSettings& settings = app_.Settings();
    settings.isEnableSnap = settings.isEnableSnap == 1 ? 0 : 1;
    const bool on = settings.isEnableSnap == 1;
    if (wiring_.cameraButton != nullptr) {
        wiring_.cameraButton->setChecked(on);
    }
    if (camera_ != nullptr) {
        camera_->Connection().SetCameraButton(on);
    }
    WriteSetting(app_.Store(), setting::kIsEnableSnap, settings.isEnableSnap);
    emit cameraButtonChanged(on);
}

void SnapshotController::SetSnapshotFileType(int type) {
    const std::uint32_t format = type == 1 ? kImageFormatBmp : kImageFormatJpeg;
    app_.Settings().imageFormat = format;
    WriteSetting(app_.Store(), setting::kImageFormat, format);
}

bool SnapshotController::CopyNewestFrame() {
    if (camera_ == nullptr) {
        return false;
    }
    // Copied out under the store's lock, so that composing and encoding never hold up the
    // capture thread.
    camera_->Pipeline().Store().CopyLatest(frame_);
    return frame_.sequence != 0;
}

SnapshotScene SnapshotController::Scene() const {
    SnapshotScene scene;
    scene.records = &session_.Records();
    scene.whiteCross = session_.Switches().whiteCross;
    scene.crossRuler = session_.Switches().crossRuler;
    if (camera_ != nullptr) {
        scene.labels = camera_->Overlays().labels;
        scene.ruler = camera_->Overlays().ruler;
    }
    return scene;
}

SnapshotTarget SnapshotController::Target() const {
    SnapshotTarget target;
    target.pictureFolder = app_.Folders().pictureFolder;
    target.appFolder = app_.Folders().appFolder;
    target.imageFormat = app_.Settings().imageFormat;
    if (wiring_.magnificationBox != nullptr) {
        target.magnification = wiring_.magnificationBox->text().toStdString();
    }
    return target;
}

void SnapshotController::OnSnapshotFrame(int source) {
    (void)source;  // the stream goes on either way: no restart after a snapshot
    if (camera_ == nullptr) {
        return;
    }
    SnapshotRequest& request = camera_->Pipeline().Snapshot();
    if (request.grabIntoMemory.exchange(false)) {
        // At most one held picture: the new one replaces the previous.
        if (CopyNewestFrame() && FrameToImage(frame_, session_.HeldPicture())) {
            emit heldPictureChanged();
        }
        return;
    }
    if (!CopyNewestFrame()) {
        return;
    }
    lastOutcome_ = taker_->TakeSnapshot(frame_, Scene(), Target(), false);
    if (!lastOutcome_.written) {
        // Nothing to list: the notice has said why.
        return;
    }
    const QString path = QString::fromStdString(lastOutcome_.path);
    if (wiring_.strip != nullptr) {
        wiring_.strip->AddPicture(path);
    }
    if (request.shutterSound.load() && sounds_ != nullptr) {
        sounds_->Play(Sound::Shutter);
    }
    emit snapshotSaved(path);
}

std::optional<ExportPicture> SnapshotController::ReportPicture() {
    if (!CopyNewestFrame()) {
        return std::nullopt;
    }
    CxImage picture;
    const SnapshotOutcome outcome = taker_->TakeSnapshot(frame_, Scene(), Target(), true, &picture);
    if (!outcome.composed) {
        return std::nullopt;
    }
    return JpegPicture(picture);
}

}  // namespace lensora
