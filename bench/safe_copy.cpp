// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The TONEKIT developers
// Licensed under the GNU General Public License, version 3 or later.
// The yardstick of the batch update: what any program must do at least to rewrite every MLD file
// below a folder safely. Each file is read whole, written to a temporary file beside it, flushed,
// renamed over it, and its folder flushed; the folder stays open for the files that follow in it.
//   safe_copy FOLDER
#include <fcntl.h>
#include <fnmatch.h>
#include <ftw.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

static char folderName[4096];
static int folder = -1;
static char buffer[1 << 20];

static int copy(const char* path, const struct stat* st, int kind, struct FTW* at) {
  static_cast<void>(st);
  if (kind != FTW_F || fnmatch("*.mld", path + at->base, FNM_CASEFOLD) != 0) return 0;
  const size_t folderLength = static_cast<size_t>(at->base);
  if (folder < 0 || strlen(folderName) != folderLength || strncmp(folderName, path, folderLength) != 0) {
    if (folder >= 0) close(folder);
    memcpy(folderName, path, folderLength);
    folderName[folderLength] = '\0';
    folder = open(folderName, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return perror(folderName), 1;
  }
  const char* name = path + at->base;
  const int in = openat(folder, name, O_RDONLY | O_CLOEXEC);
  if (in < 0) return perror(path), 1;
  const ssize_t size = read(in, buffer, sizeof buffer);
  close(in);
  if (size < 0) return perror(path), 1;
  char temp[512];
  snprintf(temp, sizeof temp, ".%s.copy", name);
  const int out = openat(folder, temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (out < 0) return perror(temp), 1;
  if (write(out, buffer, static_cast<size_t>(size)) != size || fsync(out) != 0) return perror(temp), close(out), 1;
  close(out);
  if (renameat(folder, temp, folder, name) != 0 || fsync(folder) != 0) return perror(path), 1;
  return 0;
}

int main(int argc, char** argv) {
  if (argc != 2) return fprintf(stderr, "usage: safe_copy FOLDER\n"), 2;
  return nftw(argv[1], copy, 64, FTW_PHYS) == 0 ? 0 : 1;
}
