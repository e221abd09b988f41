// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Opens and reads files that must be plain files: the settings and the undo history. A
// FIFO, a device or a folder put in such a file's place would block a read forever or
// feed it without end; here it opens as nothing, without blocking. Replaces such a file
// whole, never writing through a link in its place.

#include <QByteArray>
#include <QString>

#include <optional>

namespace pellory {

// open(2) of a regular file with `flags`, never blocking on the open; -1 (errno set, EINVAL
// for a file that is not regular) otherwise.
int openRegular(const QByteArray& path, int flags);

// The whole file, when it is a regular file of at most `limit` bytes; nothing otherwise.
std::optional<QByteArray> readRegularFile(const QString& path, qsizetype limit);

// Puts a plain file holding `bytes` at `path` in one step: they are written to a new file
// in the same folder, which is then renamed over `path`. A link at `path` is replaced by
// the file, so the file it names is never written. The new file keeps the permissions of
// the plain file it replaces, and is the owner's alone (0600) otherwise. False, leaving
// `path` as it was, when any step fails.
bool replaceFile(const QString& path, const QByteArray& bytes);

} // namespace pellory
