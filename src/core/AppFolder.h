#pragma once
// "The program's own folder": where file dialogs start and where the error list goes.

#include <filesystem>

namespace tonekit {

// The folder of the running executable.
std::filesystem::path executableFolder();

// The executable's folder when it is writable; otherwise (an installed program) the per-user
// data folder ($XDG_DATA_HOME/tonekit or ~/.local/share/tonekit), created when missing.
// Messages that name a file here show this real path.
std::filesystem::path writableProgramFolder();

}  // namespace tonekit
