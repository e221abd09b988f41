// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Opens and reads files that must be plain files: the settings and the undo history. A
// FIFO, a device or a folder put in such a file's place would block a read forever or
// feed it without end; here it opens as nothing, without blocking.

#include <QByteArray>
#include <QString>

#include <optional>

namespace pellory {

// open(2) of a regular file with `flags`, never blocking on the open; -1 (errno set, EINVAL
// for a file that is not regular) otherwise.
int openRegular(const QByteArray& path, int flags);

// The whole file, when it is a regular file of at most `limit` bytes; nothing otherwise.
std::optional<QByteArray> readRegularFile(const QString& path, qsizetype limit);

} // namespace pellory
