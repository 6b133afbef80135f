// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
#pragma once
// "The program's own folder": where file dialogs start and where the error list goes.

#include <filesystem>
#include <memory>
#include <optional>

#include "base/SafeFile.h"

namespace tonekit {

// The folder of the running executable.
std::filesystem::path executableFolder();

// The per-user data folder ($XDG_DATA_HOME/tonekit, else $HOME/.local/share/tonekit), created
// 0700 when missing. Raises 76 when neither variable is set (there is no private place then;
// a shared one such as the temporary folder would let other users plant links), and 70 when
// the folder is no real folder of the running user.
std::filesystem::path privateDataFolder();
// The same folder, held open: what is made in it lands there, whatever its path leads to later.
std::unique_ptr<HeldFolder> openPrivateDataFolder();
// Its path as the environment names it, neither walked nor created; none without HOME and
// XDG_DATA_HOME.
std::optional<std::filesystem::path> privateDataFolderPath();

// The executable's folder when the running user can write it and no other user can (group and
// others have no write bit); otherwise (an installed program) privateDataFolder(). Empty when
// neither can be had. Messages that name a file here show this real path.
std::filesystem::path writableProgramFolder();

}  // namespace tonekit
