// The video settings dialog: camera choice, capture resolution (with the F10-F12 hint), the
// picture-property rows (slider, value, up/down buttons) and the storage folder. Every change
// applies the moment it is made; sliders apply live while dragged, at most 20 times a second.
// Refill() rereads everything from the camera; the owner calls it when the camera's connection
// or the device set changes. UI thread; the connection, memory and folders outlive the dialog.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <array>
#include <optional>

#include "capture/proc_amp_table.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;
class QTimer;
class QToolButton;
class QPushButton;

namespace lensora {

class CameraConnection;
class PictureMemory;
struct DataFolders;

class VideoSettingsDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kLiveApplyIntervalMs = 50;  // at most 20 applications a second

    // `memory` and `folders` may be null (no per-camera memory, no folder row).
    VideoSettingsDialog(CameraConnection& connection, PictureMemory* memory, DataFolders* folders,
                        QWidget* parent = nullptr);

    void Refill();

    // For tests and the owner.
    QComboBox* DeviceCombo() const { return deviceCombo_; }
    QComboBox* ResolutionCombo() const { return resolutionCombo_; }
    QComboBox* NormCombo() const { return normCombo_; }
    QSlider* Slider(int row) const { return rows_.at(static_cast<std::size_t>(row)).slider; }
    QLabel* ValueLabel(int row) const { return rows_.at(static_cast<std::size_t>(row)).value; }
    QToolButton* UpButton(int row) const { return rows_.at(static_cast<std::size_t>(row)).up; }
    QToolButton* DownButton(int row) const { return rows_.at(static_cast<std::size_t>(row)).down; }
    QLabel* HotkeyHint() const { return hint_; }
    QPushButton* DefaultButton() const { return defaultButton_; }
    const ProcAmpTable& Table() const { return table_; }
    int LiveApplications() const { return liveApplications_; }

  private:
    struct RowWidgets {
        QLabel* caption = nullptr;
        QSlider* slider = nullptr;
        QLabel* value = nullptr;
        QToolButton* up = nullptr;
        QToolButton* down = nullptr;
    };

    void BuildLayout();
    void ShowRow(int row);
    void OnSliderMoved(int row, int value);
    void FlushPending();
    void ApplyRow(int row, int value);
    void StepRow(int row, int direction);
    void OnDefault();
    void OnResolutionChosen(int index);
    void OnDeviceChosen(int index);
    void ChooseFolder();
    void RememberPicture();
    void SelectCurrentResolution();

    CameraConnection& connection_;
    PictureMemory* memory_;
    DataFolders* folders_;
    ProcAmpTable table_;
    std::array<RowWidgets, ProcAmpTable::kRows> rows_{};
    std::array<std::optional<int>, ProcAmpTable::kRows> pending_{};
    QTimer* throttle_ = nullptr;
    int liveApplications_ = 0;
    bool refilling_ = false;

    QComboBox* deviceCombo_ = nullptr;
    QComboBox* normCombo_ = nullptr;
    QComboBox* resolutionCombo_ = nullptr;
    QLabel* hint_ = nullptr;
    QLineEdit* pathField_ = nullptr;
    QPushButton* defaultButton_ = nullptr;
};

}  // namespace lensora
