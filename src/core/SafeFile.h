#pragma once
// Reading whole files and replacing files so that a failure never leaves a half-written one.

#include <filesystem>
#include <optional>

#include "core/ByteString.h"
#include "core/Failure.h"

namespace tonekit {

// Reads the whole file; raises 53 when it does not exist, 75 when it cannot be read.
ByteString readWholeFile(const std::filesystem::path& path);

// Writes bytes to a temporary file in the target's folder, flushes it and renames it over the
// target. The target keeps its permission bits; a symbolic link keeps pointing at the file it
// named, which gets the new content. On failure the target is as it was and no temporary file
// remains. Returns the failure, or nothing on success.
std::optional<Failure> replaceFileSafely(const std::filesystem::path& target, const ByteString& content);

}  // namespace tonekit
