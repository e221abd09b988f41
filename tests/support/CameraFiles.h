// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// Camera files for the tests, made with libexiv2's writer rather than taken from a camera,
// so that every tag a test reads is one it wrote. Tests that include this link libexiv2.

#include <QByteArray>
#include <QList>

#include <exiv2/exiv2.hpp>

namespace pellory::testing {

// libexiv2's blank JPEG with "Key=value|..." written into it as EXIF and XMP.
inline QByteArray jpeg(const QByteArray& tags)
{
    auto file = Exiv2::ImageFactory::create(Exiv2::ImageType::jpeg);
    for (const QByteArray& tag : tags.split('|')) {
        const std::string key = tag.left(tag.indexOf('=')).toStdString();
        const std::string value = tag.mid(tag.indexOf('=') + 1).toStdString();
        if (key.starts_with("Xmp."))
            file->xmpData()[key] = value;
        else if (!key.empty())
            file->exifData()[key] = value;
    }
    file->writeMetadata();
    const Exiv2::DataBuf bytes = file->io().read(long(file->io().size()));
    return {reinterpret_cast<const char*>(bytes.pData_), bytes.size_};
}

} // namespace pellory::testing
