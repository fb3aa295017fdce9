// Text keys of the thumbnail strip, its context menu and its file commands, with their
// built-in English texts.
#pragma once

#include "base/text_keys.h"

namespace lensora::text {

inline constexpr TextKey kMenuOpen{"Open", "Open"};
inline constexpr TextKey kMenuSave{"Save", "Save as..."};
inline constexpr TextKey kMenuSaveAll{"SaveAll", "Save All"};
inline constexpr TextKey kMenuDelete{"Delete", "Delete"};
inline constexpr TextKey kMenuDeleteAll{"DeleteAll", "Delete All"};
inline constexpr TextKey kMenuEmail{"Email", "E-Mail"};
inline constexpr TextKey kSelectFile{"SelectFile", "Please select one image or video"};
inline constexpr TextKey kSureDelete{"SureDelete", "Are you sure to delete?"};
inline constexpr TextKey kSureDeleteAll{"SureDeleteAll", "Are you sure to delete all?"};

}  // namespace lensora::text

namespace lensora::browser_message {

// Fixed texts of the file commands.
inline constexpr const char* kSaveIntoOwnFolder = "Can't save file to temp directory!!";
inline constexpr const char* kSaveLoadFail = "imageSave Create fail";
inline constexpr const char* kSaveEncodeFail = "Conpress fail";
inline constexpr const char* kEmailLoadFail = "imageEmail Create fail";
inline constexpr const char* kEmailEncodeFail = "Compress fail";
inline constexpr const char* kFileExists = "This file already exists";
inline constexpr const char* kReplaceFile = "Replace existing file?";
inline constexpr const char* kMailClientFail = "mail client cannot be started";

}  // namespace lensora::browser_message
