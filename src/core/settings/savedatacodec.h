// SPDX-License-Identifier: MIT

#pragma once

#include "settings/savedata.h"

#include <QByteArray>
#include <limits>
#include <optional>

namespace moravelt::SaveDataCodec {

// The packed little-endian layout of "Moravelt.ini": 64 + a + b bytes, texts in code page 932
// with 16-bit byte counts. Characters code page 932 cannot hold are written as "?".
QByteArray encode(const SaveData& data);

// Reads a record from the start of the bytes; bytes after it are ignored. A damaged record
// (too short, a text count running past the end, a precision level outside 0 to 4) gives
// nothing, so the caller falls back to the first-start defaults.
std::optional<SaveData> decode(const QByteArray& bytes);

// Code page 932 conversions of the record's texts. Each character code page 932 lacks, and
// each lone surrogate, becomes one "?"; "〜" (U+301C) is written as "～" (81 60). The bytes
// end at the last whole character within limit.
QByteArray toCp932(const QString& text, qsizetype limit = std::numeric_limits<qsizetype>::max());
QString fromCp932(const QByteArray& bytes);

} // namespace moravelt::SaveDataCodec
