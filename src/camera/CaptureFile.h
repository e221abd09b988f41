// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Reads the capture time of one file: a movie's from its movie header, anything else's
// from its metadata. Opens regular files only (never a link, folder, FIFO or device) and
// reads at most the first MetadataReach bytes of a file, whatever it claims.

#include "camera/CaptureTime.h"

#include <QByteArray>

#include <optional>

namespace pellory {

// JPEG and the TIFF-based RAW formats keep their metadata within the first bytes; this
// many are read first, in one go.
constexpr qint64 MetadataPrefix = 256 * 1024;
// When those do not hold it and the format may keep it further in (HEIC and CR3 may put
// their EXIF after the image data, a Fuji RAF after its preview), the first this many
// bytes are read and tried again. Metadata beyond them is not read: such a file has no
// capture time.
constexpr qint64 MetadataReach = 16 * 1024 * 1024;

// The capture time of the file at `path` (source None: the file has none); nothing when
// it is no regular file or cannot be read, which is no fact about the file to keep.
// Names ending in .mov, .mp4, .m4v or .3gp (any letter case) are read as movies.
std::optional<CaptureTime> readCaptureTime(const QByteArray& path);

} // namespace pellory
