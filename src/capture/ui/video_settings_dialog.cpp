#include "capture/ui/video_settings_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/ui/data_root_chooser.h"
#include "base/data_folders.h"
#include "base/ui/ui_text.h"
#include "capture/camera_connection.h"
#include "capture/picture_memory.h"
#include "capture/resolution_steps.h"
#include "platform/qt_user_prompts.h"

namespace lensora {
namespace {

namespace key {
constexpr TextKey kVideoSetting{"VideoSetting", "Video Setting"};
constexpr TextKey kDeviceName{"DeviceName", "Device Name"};
constexpr TextKey kVideoCaptionDevice{"VideoCaptionDevice", "Video Capture Device"};
constexpr TextKey kDeviceSetting{"DeviceSetting", "Device Setting"};
constexpr TextKey kVideoNorm{"VideoNorm", "Video Norm"};
constexpr TextKey kVideoResolution{"VideoResolution", "Video Resolution"};
constexpr TextKey kVideoProperies{"VideoProperies", "Video Properies"};
constexpr TextKey kHotKey{"HotKey", "HotKey"};
constexpr TextKey kChangePath{"ChangePath", "Change Save Path"};
constexpr TextKey kDefault{"Default", "Default"};
constexpr TextKey kExit{"Exit", "Exit"};
constexpr TextKey kOk{"Ok", "OK"};
}  // namespace key

}  // namespace

VideoSettingsDialog::VideoSettingsDialog(CameraConnection& connection, PictureMemory* memory,
                                         DataFolders* folders, QWidget* parent)
    : QDialog(parent),
      connection_(connection),
      memory_(memory),
      folders_(folders),
      table_(connection.Source()) {
    setObjectName(QStringLiteral("VideoSettingsDialog"));
    throttle_ = new QTimer(this);
    throttle_->setSingleShot(true);
    throttle_->setInterval(kLiveApplyIntervalMs);
    connect(throttle_, &QTimer::timeout, this, [this] {
        // Values that arrived during the pause go out now, and open the next pause.
        if (std::any_of(pending_.begin(), pending_.end(), [](auto& p) { return p.has_value(); })) {
            FlushPending();
            throttle_->start();
        }
    });
    BuildLayout();
    Refill();
}

void VideoSettingsDialog::BuildLayout() {
    setWindowTitle(UiText(key::kVideoSetting));
    auto* main = new QVBoxLayout(this);

    auto* device = new QGroupBox(UiText(key::kVideoCaptionDevice), this);
    auto* deviceGrid = new QGridLayout(device);
    deviceGrid->addWidget(new QLabel(UiText(key::kDeviceName), device), 0, 0);
    deviceCombo_ = new QComboBox(device);
    deviceGrid->addWidget(deviceCombo_, 0, 1, 1, 2);
    deviceGrid->addWidget(new QLabel(UiText(key::kVideoNorm), device), 1, 0);
    normCombo_ = new QComboBox(device);
    deviceGrid->addWidget(normCombo_, 1, 1, 1, 2);
    deviceGrid->addWidget(new QLabel(UiText(key::kVideoResolution), device), 2, 0);
    resolutionCombo_ = new QComboBox(device);
    deviceGrid->addWidget(resolutionCombo_, 2, 1, 1, 2);
    deviceGrid->addWidget(new QLabel(UiText(key::kHotKey), device), 3, 0);
    hint_ = new QLabel(device);
    deviceGrid->addWidget(hint_, 3, 1, 1, 2);
    main->addWidget(device);

    auto* properties = new QGroupBox(UiText(key::kVideoProperies), this);
    auto* grid = new QGridLayout(properties);
    for (int row = 0; row < ProcAmpTable::kRows; ++row) {
        RowWidgets& w = rows_[static_cast<std::size_t>(row)];
        const ProcAmpRow& r = table_.Row(row);
        w.caption = new QLabel(UiText(r.captionKey, r.captionDefault), properties);
        w.slider = new QSlider(Qt::Horizontal, properties);
        w.slider->setMinimumWidth(220);
        w.value = new QLabel(properties);
        w.value->setMinimumWidth(36);
        w.value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        w.down = new QToolButton(properties);
        w.down->setArrowType(Qt::LeftArrow);
        w.up = new QToolButton(properties);
        w.up->setArrowType(Qt::RightArrow);
        grid->addWidget(w.caption, row, 0);
        grid->addWidget(w.down, row, 1);
        grid->addWidget(w.slider, row, 2);
        grid->addWidget(w.up, row, 3);
        grid->addWidget(w.value, row, 4);
        connect(w.slider, &QSlider::valueChanged, this, [this, row](int v) {
            if (!refilling_) {
                OnSliderMoved(row, v);
            }
        });
        connect(w.slider, &QSlider::sliderReleased, this, [this] { FlushPending(); });
        connect(w.up, &QToolButton::clicked, this, [this, row] { StepRow(row, +1); });
        connect(w.down, &QToolButton::clicked, this, [this, row] { StepRow(row, -1); });
    }
    main->addWidget(properties);

    if (folders_ != nullptr) {
        auto* setting = new QGroupBox(UiText(key::kDeviceSetting), this);
        auto* line = new QHBoxLayout(setting);
        pathField_ = new QLineEdit(setting);
        pathField_->setReadOnly(true);
        auto* browse = new QPushButton(UiText(key::kChangePath), setting);
        line->addWidget(pathField_, 1);
        line->addWidget(browse);
        connect(browse, &QPushButton::clicked, this, [this] { ChooseFolder(); });
        main->addWidget(setting);
    }

    auto* buttons = new QHBoxLayout;
    defaultButton_ = new QPushButton(UiText(key::kDefault), this);
    auto* ok = new QPushButton(UiText(key::kOk), this);
    auto* exit = new QPushButton(UiText(key::kExit), this);
    ok->setDefault(true);
    buttons->addWidget(defaultButton_);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(exit);
    main->addLayout(buttons);
    connect(defaultButton_, &QPushButton::clicked, this, [this] { OnDefault(); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);

    connect(resolutionCombo_, &QComboBox::activated, this,
            [this](int index) { OnResolutionChosen(index); });
    connect(deviceCombo_, &QComboBox::activated, this,
            [this](int index) { OnDeviceChosen(index); });
}

void VideoSettingsDialog::Refill() {
    refilling_ = true;
    throttle_->stop();
    pending_.fill(std::nullopt);
    deviceCombo_->clear();
    normCombo_->clear();
    resolutionCombo_->clear();
    hint_->clear();
    if (pathField_ != nullptr) {
        pathField_->setText(QString::fromStdString(folders_->dataRoot));
    }

    const bool connected = connection_.Connected();
    if (connected) {
        table_.Load();
    } else {
        table_.Clear();
    }
    for (int row = 0; row < ProcAmpTable::kRows; ++row) {
        ShowRow(row);
    }
    if (connected) {
        const CameraDeviceList& devices = connection_.Devices();
        for (std::size_t i = 0; i < devices.entries.size(); ++i) {
            const CameraDevice& d = devices.entries[i];
            if (d.rank < 0 || d.info.friendlyName.empty()) {
                continue;
            }
            deviceCombo_->addItem(QString::fromStdString(d.info.friendlyName), static_cast<int>(i));
            if (static_cast<int>(i) == devices.selectedIndex) {
                deviceCombo_->setCurrentIndex(deviceCombo_->count() - 1);
            }
        }
        normCombo_->addItem(QStringLiteral("N/A"));
        normCombo_->setCurrentIndex(0);
        const bool large = connection_.LargeSensor();
        for (const std::string& text : ResolutionComboTexts(large)) {
            resolutionCombo_->addItem(QString::fromStdString(text));
        }
        SelectCurrentResolution();
        hint_->setText(QString::fromStdString(ResolutionHotkeyHint(large)));
    }
    normCombo_->setEnabled(false);
    deviceCombo_->setEnabled(connected);
    resolutionCombo_->setEnabled(connected);
    defaultButton_->setEnabled(connected && table_.AnyAvailable());
    refilling_ = false;
}

void VideoSettingsDialog::SelectCurrentResolution() {
    const int step = ResolutionStepOfWidth(connection_.LargeSensor(), connection_.CaptureWidth());
    resolutionCombo_->setCurrentIndex(step);
}

void VideoSettingsDialog::ShowRow(int row) {
    const RowWidgets& w = rows_[static_cast<std::size_t>(row)];
    const ProcAmpRow& r = table_.Row(row);
    {
        const QSignalBlocker block(w.slider);
        if (r.available) {
            w.slider->setRange(r.range.minimum, r.range.maximum);
            w.slider->setSingleStep(r.range.step);
            w.slider->setPageStep(std::max(r.range.step, (r.range.maximum - r.range.minimum) / 10));
            w.slider->setValue(r.value);
        } else {
            w.slider->setRange(0, 0);
        }
    }
    w.slider->setEnabled(r.available);
    w.up->setEnabled(r.available);
    w.down->setEnabled(r.available);
    w.value->setText(QString::fromStdString(table_.ValueText(row)));
    for (QWidget* widget : {static_cast<QWidget*>(w.caption), static_cast<QWidget*>(w.slider),
                            static_cast<QWidget*>(w.value), static_cast<QWidget*>(w.up),
                            static_cast<QWidget*>(w.down)}) {
        widget->setVisible(r.shown);
    }
}

void VideoSettingsDialog::OnSliderMoved(int row, int value) {
    pending_[static_cast<std::size_t>(row)] = value;
    if (!throttle_->isActive()) {
        FlushPending();
        throttle_->start();
    }
}

void VideoSettingsDialog::FlushPending() {
    bool any = false;
    for (int row = 0; row < ProcAmpTable::kRows; ++row) {
        if (const std::optional<int> value = pending_[static_cast<std::size_t>(row)]) {
            pending_[static_cast<std::size_t>(row)].reset();
            ApplyRow(row, *value);
            any = true;
        }
    }
    if (any) {
        ++liveApplications_;
        RememberPicture();
    }
}

void VideoSettingsDialog::ApplyRow(int row, int value) {
    table_.Set(row, value);
    // A refused value puts the slider back on what the camera holds, without sending again.
    ShowRow(row);
}

void VideoSettingsDialog::StepRow(int row, int direction) {
    const int before = table_.Row(row).value;
    if (table_.Step(row, direction) != before) {
        RememberPicture();
    }
    ShowRow(row);
}

void VideoSettingsDialog::RememberPicture() {
    const CameraDeviceInfo* camera = connection_.SelectedDevice();
    if (memory_ != nullptr && camera != nullptr && connection_.Connected()) {
        memory_->Remember(*camera, table_);
    }
}

void VideoSettingsDialog::OnDefault() {
    throttle_->stop();
    pending_.fill(std::nullopt);
    table_.Default();
    if (const CameraDeviceInfo* camera = connection_.SelectedDevice();
        memory_ != nullptr && camera != nullptr) {
        memory_->Forget(*camera);
    }
    for (int row = 0; row < ProcAmpTable::kRows; ++row) {
        ShowRow(row);
    }
    OnResolutionChosen(kResolutionSteps - 1);
}

void VideoSettingsDialog::OnResolutionChosen(int index) {
    connection_.ApplyResolutionStep(index);
    // The device may have taken another size, or gone: show what holds now.
    Refill();
}

void VideoSettingsDialog::OnDeviceChosen(int index) {
    const QVariant entry = deviceCombo_->itemData(index);
    if (entry.isValid()) {
        connection_.SelectCamera(entry.toInt());
    }
    Refill();
}

void VideoSettingsDialog::ChooseFolder() {
    if (folders_ == nullptr) {
        return;
    }
    QtUserPrompts prompts(this);
    ChooseDataRoot(prompts, *folders_);
    pathField_->setText(QString::fromStdString(folders_->dataRoot));
}

}  // namespace lensora
