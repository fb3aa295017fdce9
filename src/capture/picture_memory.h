// Remembers the picture properties per camera in the settings store, so that an operator's
// tuning survives unplugging and restarting: a camera is known by its USB vendor and product
// and its serial number (or, without one, the USB port it sits in). Values are stored as one
// text per camera ("row=value;..."), written whenever the operator changes a row and cleared
// by Default. UI thread; the store and source outlive it.
#pragma once

#include <map>
#include <string>

#include "base/settings_store.h"
#include "capture/frame_source.h"
#include "capture/proc_amp_table.h"

namespace lensora {

class PictureMemory {
  public:
    static constexpr std::string_view kGroup = "CameraPicture";

    explicit PictureMemory(SettingsStore& store) : store_(store) {}

    // The settings name for a camera: vendor/product and identity, reduced to letters, digits
    // and underscores so that every store accepts it.
    static std::string CameraKey(const CameraDeviceInfo& camera);

    // Stores every available row of the table for this camera.
    void Remember(const CameraDeviceInfo& camera, const ProcAmpTable& table);
    void Forget(const CameraDeviceInfo& camera);
    // Row -> value as stored; rows with unreadable entries are left out.
    std::map<int, int> Stored(const CameraDeviceInfo& camera);
    // Sets the stored values on the opened camera (clamped to its ranges). Returns how many
    // rows were applied.
    int Reapply(const CameraDeviceInfo& camera, FrameSource& source);

  private:
    SettingsStore& store_;
};

}  // namespace lensora
