# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The TONEKIT developers
# Licensed under the GNU General Public License, version 3 or later.
# What each fuzz target links; read by the fuzz build and by the replay tests.
set(TONEKIT_FUZZ_TARGETS export extend import listfile mld smf track)
set(TONEKIT_FUZZ_LIBRARY_export tonekit-sound)
set(TONEKIT_FUZZ_LIBRARY_extend tonekit-track)
set(TONEKIT_FUZZ_LIBRARY_import tonekit-convert)
set(TONEKIT_FUZZ_LIBRARY_listfile tonekit-filelist)
set(TONEKIT_FUZZ_LIBRARY_mld tonekit-mld)
set(TONEKIT_FUZZ_LIBRARY_smf tonekit-smf)
set(TONEKIT_FUZZ_LIBRARY_track tonekit-track)
