#pragma once
// One note length for all tracks of a file, from the "note" information chunk's value.

#include "core/ByteString.h"

namespace tonekit {

// 4 when the value's second byte is 1, else 3 (an empty value, no "note" chunk, included).
inline int noteLengthOf(const ByteString& note) { return note.size() >= 2 && note[1] == 1 ? 4 : 3; }

}  // namespace tonekit
