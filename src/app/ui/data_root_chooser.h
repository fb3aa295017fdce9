// Lets the user pick the folder under which pictures and videos are stored, and remembers it
// in the folder file. Offered by the video settings dialog next to its path field.
#pragma once

#include <QString>

namespace lensora {

struct DataFolders;
class UserPrompts;

// Asks for the folder through `prompts`, starting at the current root. On a choice the folder
// file is written and the picture and video folders switch to the new root at once; returns
// the new root. On cancel, or when the folder file cannot be written, the folders stay as
// they were and the current root is returned, so the caller's path field keeps showing where
// files actually go.
QString ChooseDataRoot(UserPrompts& prompts, DataFolders& folders);

}  // namespace lensora
