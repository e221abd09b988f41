// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// Capture times read from real files made here (JPEGs tagged with libexiv2's writer, TIFFs,
// XMP sidecars and movie headers built byte by byte), their order, and the cache and batch around
// them.

#include "camera/CaptureCache.h"
#include "camera/CaptureFile.h"

#include "support/CameraFiles.h"
#include "support/Files.h"

#include <QTemporaryDir>
#include <QTest>

#include <malloc.h>

using namespace pellory;
using pellory::testing::jpeg;
using pellory::testing::makeEntry;
using pellory::testing::makeFile;

namespace {

// `value` in `bytes` bytes, most significant first, or last when `little`.
QByteArray number(quint64 value, int bytes, bool little = false)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out += char(value >> (8 * (little ? i : bytes - 1 - i)));
    return out;
}
QByteArray box(const char* type, const QByteArray& payload)
{
    return number(8 + payload.size(), 4) + type + payload;
}
QByteArray mvhd(char version, quint64 created)
{
    const QByteArray time = number(created, version == 1 ? 8 : 4);
    return box("mvhd", QByteArray(1, version) + QByteArray(3, 0) + time + time + QByteArray(80, 0));
}

// A TIFF (as RAW files are) whose IFD0 points at an EXIF IFD `at` bytes in, which holds
// one DateTimeOriginal.
QByteArray tiff(quint32 at, const QByteArray& dateTime)
{
    const auto le = [](quint64 value, int bytes) { return number(value, bytes, true); };
    const QByteArray ifd0 = "II*" + le(0, 1) + le(8, 4) + le(1, 2) + le(0x8769, 2) + le(4, 2) +
                            le(1, 4) + le(at, 4) + le(0, 4);
    return ifd0.leftJustified(at, '\0') + le(1, 2) + le(0x9003, 2) + le(2, 2) + le(20, 4) +
           le(at + 18, 4) + le(0, 4) + dateTime + '\0';
}

QString described(const std::optional<CaptureTime>& time)
{
    static const char* const sources[] = {
        "none", "ExifOriginal", "ExifDigitized", "XmpExifOriginal", "XmpCreateDate", "MovieHeader"};
    if (!time || !time->isValid())
        return time ? "none" : "unread";
    return QDateTime::fromSecsSinceEpoch(time->wallSeconds, Qt::UTC)
        .toString("yyyy-MM-dd hh:mm:ss.%1 %2 %3")
        .arg(time->microseconds, 6, 10, QChar('0'))
        .arg(time->hasOffset ? QString::number(time->offsetMinutes) : "local",
             sources[int(time->source)]);
}

} // namespace

class TestCamera : public QObject
{
    Q_OBJECT
private slots:
    // One file's capture time. Names "a/" are folders, "a>b" links, "a|" FIFOs.
    void fileTime_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        const QByteArray original = "Exif.Photo.DateTimeOriginal=2024:05:01 13:45:07";
        const QByteArray tagged = jpeg(original + "|Exif.Image.Copyright=" + QByteArray(2000, 'c'));
        const QByteArray ftyp = box("ftyp", "qt  " + QByteArray(4, 0));
        const QByteArray may2024 = box("moov", mvhd(0, 3797409600)); // 2024-05-01 12:00:00 UTC
        const QByteArray frees = box("free", {}).repeated(1000);
        const QString taken = "2024-05-01 13:45:07.000000 local ExifOriginal";
        const QString movie = "2024-05-01 12:00:00.000000 0 MovieHeader";
        // clang-format off
        QTest::newRow("original, sub-seconds, offset") << QByteArray("a.jpg") << jpeg(original + "|Exif.Photo.SubSecTimeOriginal=07|Exif.Photo.OffsetTimeOriginal=+02:00") << "2024-05-01 13:45:07.070000 120 ExifOriginal";
        QTest::newRow("original without offset") << QByteArray("a.jpg") << jpeg(original + "|Exif.Photo.SubSecTimeOriginal=123456789") << "2024-05-01 13:45:07.123456 local ExifOriginal";
        QTest::newRow("digitized's offset not the original's") << QByteArray("a.jpg") << jpeg(original + "|Exif.Photo.OffsetTimeDigitized=+01:00") << taken;
        QTest::newRow("original before digitized") << QByteArray("a.jpg") << jpeg(original + "|Exif.Photo.DateTimeDigitized=2020:01:01 00:00:00") << taken;
        QTest::newRow("digitized only") << QByteArray("a.jpg") << jpeg("Exif.Photo.DateTimeDigitized=2023:02:28 23:59:59|Exif.Photo.SubSecTimeDigitized=5|Exif.Photo.OffsetTimeDigitized=-05:30") << "2023-02-28 23:59:59.500000 -330 ExifDigitized";
        QTest::newRow("zeros give way to digitized") << QByteArray("a.jpg") << jpeg("Exif.Photo.DateTimeOriginal=0000:00:00 00:00:00|Exif.Photo.DateTimeDigitized=2023:02:28 23:59:59") << "2023-02-28 23:59:59.000000 local ExifDigitized";
        QTest::newRow("XMP exif only") << QByteArray("a.jpg") << jpeg("Xmp.exif.DateTimeOriginal=2023-12-31T23:59:58.25Z") << "2023-12-31 23:59:58.250000 0 XmpExifOriginal";
        QTest::newRow("XMP create date only") << QByteArray("a.jpg") << jpeg("Xmp.xmp.CreateDate=2022-02-02T10:00-08:00") << "2022-02-02 10:00:00.000000 -480 XmpCreateDate";
        QTest::newRow("XMP sidecar") << QByteArray("a.xmp") << QByteArray("<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description xmlns:exif='http://ns.adobe.com/exif/1.0/' exif:DateTimeOriginal='2021-07-04T09:08:07'/></rdf:RDF></x:xmpmeta>") << "2021-07-04 09:08:07.000000 local XmpExifOriginal";
        QTest::newRow("image date-time only") << QByteArray("a.jpg") << jpeg("Exif.Image.DateTime=2024:05:01 13:45:07") << "none";
        QTest::newRow("zeros") << QByteArray("a.jpg") << jpeg("Exif.Photo.DateTimeOriginal=0000:00:00 00:00:00") << "none";
        QTest::newRow("blank") << QByteArray("a.jpg") << jpeg("Exif.Photo.DateTimeOriginal=    :  :     :  :  ") << "none";
        QTest::newRow("31 April") << QByteArray("a.jpg") << jpeg("Exif.Photo.DateTimeOriginal=2024:04:31 10:00:00") << "none";
        QTest::newRow("hour 24") << QByteArray("a.jpg") << jpeg("Exif.Photo.DateTimeOriginal=2024:04:30 24:00:00") << "none";
        QTest::newRow("sub-seconds and offset unreadable") << QByteArray("a.jpg") << jpeg(original + "|Exif.Photo.SubSecTimeOriginal=1a|Exif.Photo.OffsetTimeOriginal=+14:01") << taken;
        QTest::newRow("no metadata") << QByteArray("a.jpg") << jpeg({}) << "none";
        QTest::newRow("EXIF after 320 KB") << QByteArray("a.jpg") << tagged.left(2) + ("\xff\xef\xfd\xea" + QByteArray(65000, 'x')).repeated(5) + tagged.mid(2) << taken;
        QTest::newRow("cut inside its metadata") << QByteArray("a.jpg") << tagged.left(60) << "none";
        QTest::newRow("cut after its EXIF") << QByteArray("a.jpg") << tagged.left(2200) << taken;
        QTest::newRow("damaged EXIF") << QByteArray("a.jpg") << QByteArray("\xff\xd8\xff\xe1\x00\x14" "Exif\0\0II*\0\xff\xff\xff\x7f\0\0\0\0\xff\xd9", 26) << "none";
        QTest::newRow("RAW that is TIFF") << QByteArray("IMG_1.CR2") << tiff(26, "2024:05:01 13:45:07") << taken;
        QTest::newRow("RAW with its EXIF past 256 KB") << QByteArray("IMG_1.NEF") << tiff(300000, "2024:05:01 13:45:07") << taken;
        QTest::newRow("not an image") << QByteArray("a.jpg") << QByteArray("2024:05:01 13:45:07") << "none";
        QTest::newRow("empty") << QByteArray("a.jpg") << QByteArray() << "none";
        QTest::newRow("folder") << QByteArray("a.jpg/") << QByteArray() << "unread";
        QTest::newRow("link") << QByteArray("a.jpg>b.jpg") << QByteArray() << "unread";
        QTest::newRow("FIFO") << QByteArray("a.jpg|") << QByteArray() << "unread";
        QTest::newRow("movie, version 0") << QByteArray("clip.MOV") << ftyp + may2024 << movie;
        QTest::newRow("movie named as a photo") << QByteArray("clip.jpg") << ftyp + may2024 << movie;
        QTest::newRow("movie, version 1 past 2040") << QByteArray("clip.mp4") << box("moov", mvhd(1, 4607452800)) << "2050-01-01 00:00:00.000000 0 MovieHeader";
        QTest::newRow("movie header after another box") << QByteArray("clip.m4v") << ftyp + box("moov", box("udta", "abcd") + mvhd(0, 3797409600)) << movie;
        QTest::newRow("movie after a 64-bit size") << QByteArray("clip.3gp") << ftyp + number(1, 4) + "mdat" + number(116, 8) + QByteArray(100, 0) + may2024 << movie;
        QTest::newRow("movie box sized 0, to the end") << QByteArray("clip.mov") << ftyp + number(0, 4) + may2024.mid(4) << movie;
        QTest::newRow("box sized 0 hides the rest") << QByteArray("clip.mov") << ftyp + number(0, 4) + "free" + may2024 << "none";
        QTest::newRow("box smaller than its header") << QByteArray("clip.mov") << ftyp + number(4, 4) + may2024 << "none";
        QTest::newRow("64-bit size 0") << QByteArray("clip.mov") << ftyp + number(1, 4) + "mdat" + number(0, 8) + may2024 << "none";
        QTest::newRow("movie box past the end") << QByteArray("clip.mov") << may2024.chopped(1) << "none";
        QTest::newRow("movie header cut short") << QByteArray("clip.mov") << box("moov", box("mvhd", QByteArray(7, 0))) << "none";
        QTest::newRow("movie created 0") << QByteArray("clip.mov") << box("moov", mvhd(0, 0)) << "none";
        QTest::newRow("movie created 1904 plus 1 s") << QByteArray("clip.mov") << box("moov", mvhd(1, 1)) << "1904-01-01 00:00:01.000000 0 MovieHeader";
        QTest::newRow("movie created past 9999") << QByteArray("clip.mov") << box("moov", mvhd(1, 253402300800 + 2082844800)) << "none";
        QTest::newRow("movie header version 2") << QByteArray("clip.mov") << box("moov", mvhd(2, 3797409600)) << "none";
        QTest::newRow("1000 boxes before the movie") << QByteArray("clip.mov") << frees + may2024 << movie;
        QTest::newRow("1100 boxes before the movie") << QByteArray("clip.mov") << frees + frees.left(800) + may2024 << "none";
        QTest::newRow("movie without header") << QByteArray("clip.mp4") << ftyp + box("mdat", "") << "none";
        // clang-format on
    }
    void fileTime()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path()) + '/';
        const QByteArray path = folder + name.split('>')[0].replace('/', "").replace('|', "");
        QVERIFY(
            makeFile(folder + "b.jpg", jpeg("Exif.Photo.DateTimeOriginal=2024:05:01 13:45:07")));
        if (name.endsWith('|'))
            QVERIFY(::mkfifo(path, 0644) == 0);
        else
            QVERIFY(path == folder + name ? makeFile(path, bytes) : makeEntry(dir.path(), name));
        QTEST(described(readCaptureTime(path)), "expected");
    }

    // Files in capture order, each "name=EXIF date-time|sub-seconds|offset", read in a time
    // zone; equal moments by name.
    void order_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QByteArrayList>("files");
        // clang-format off
        QTest::newRow("sub-seconds as fractions") << QByteArray("UTC") << QByteArrayList{"a=2024:05:01 12:00:00|25|", "b=2024:05:01 12:00:00|5|"};
        QTest::newRow("same moment by name") << QByteArray("UTC") << QByteArrayList{"a=2024:05:01 12:00:00|50|", "b=2024:05:01 12:00:00|500|", "c=2024:05:01 12:00:00|5|"};
        QTest::newRow("offsets by UTC") << QByteArray("UTC") << QByteArrayList{"y=2024:05:01 12:00:00||+02:00", "x=2024:05:01 11:00:00||+00:00"};
        QTest::newRow("no offset: Berlin summer") << QByteArray("Europe/Berlin") << QByteArrayList{"y=2024:07:01 12:00:00||", "x=2024:07:01 11:00:00||+00:00"};
        QTest::newRow("no offset: UTC") << QByteArray("UTC") << QByteArrayList{"x=2024:07:01 11:00:00||+00:00", "y=2024:07:01 12:00:00||"};
        QTest::newRow("same moment, two clocks") << QByteArray("UTC") << QByteArrayList{"a=2024:07:01 10:00:00||", "b=2024:07:01 12:00:00||+02:00"};
        // clang-format on
    }
    void order()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QByteArrayList, files);
        qputenv("TZ", zone);
        std::vector<CaptureKey> keys;
        for (const QByteArray& file : files) {
            const QByteArrayList parts = file.mid(2).split('|');
            keys.push_back(captureKey(
                parseExifTime(parts[0], parts[1], parts[2], CaptureSource::ExifOriginal).value()));
        }
        qputenv("TZ", "UTC");
        for (size_t i = 0; i + 1 < keys.size(); ++i) {
            QCOMPARE(compareCaptures(keys[i], files[i], keys[i + 1], files[i + 1]), -1);
            QCOMPARE(compareCaptures(keys[i + 1], files[i + 1], keys[i], files[i]), 1);
        }
    }

    void cacheStaysSmall()
    {
        // The sanitizers' allocator does not count in mallinfo2: the size is checked in the
        // plain build only.
#if !defined(__SANITIZE_ADDRESS__)
        const size_t before = mallinfo2().uordblks;
        CaptureCache big;
        for (quint64 inode = 1; inode <= 32767; ++inode)
            big.insert({2049, inode, 3000000, inode * 10000000},
                       {1714564800, 0, 0, true, CaptureSource::ExifOriginal});
        QVERIFY(mallinfo2().uordblks - before < 3 * 1024 * 1024);
#endif
        CaptureCache small(2);
        for (quint64 inode = 1; inode <= 3; ++inode)
            small.insert({1, inode, 0, 0}, {});
        QCOMPARE(small.size(), 1);
    }

    // Reads a folder's files, then asks again for the photo, gone by then, as `again`: the
    // cache knows it while its device, inode, size and time are the same.
    void batch_data()
    {
        QTest::addColumn<FileVersion>("again");
        QTest::addColumn<QString>("expected");
        QTest::newRow("same file")
            << FileVersion{1, 2, 3, 4} << "2024-05-01 13:45:07.000000 local ExifOriginal";
        QTest::newRow("other device") << FileVersion{9, 2, 3, 4} << "none";
        QTest::newRow("other inode") << FileVersion{1, 9, 3, 4} << "none";
        QTest::newRow("resized") << FileVersion{1, 2, 9, 4} << "none";
        QTest::newRow("rewritten") << FileVersion{1, 2, 3, 9} << "none";
    }
    void batch()
    {
        QFETCH(FileVersion, again);
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path());
        QVERIFY(
            makeFile(folder + "/a.jpg", jpeg("Exif.Photo.DateTimeOriginal=2024:05:01 13:45:07")));
        const QList<CaptureRequest> files{
            {"a.jpg", {1, 2, 3, 4}}, {"gone.jpg", {1, 5, 1, 1}}, {"a.jpg/", {1, 6, 1, 1}}};
        CaptureCache cache;
        QStringList read;
        for (const CaptureTime& time : readCaptureTimes(cache, folder, files).results())
            read << described(time);
        QCOMPARE(read.join('|'), "2024-05-01 13:45:07.000000 local ExifOriginal|none|none");
        QCOMPARE(cache.size(), 1); // files that could not be read are not remembered
        QVERIFY(::unlink(folder + "/a.jpg") == 0);
        QTEST(described(readCaptureTimes(cache, folder, {{"a.jpg", again}}).resultAt(0)),
              "expected");
        QFuture<CaptureTime> many =
            readCaptureTimes(cache, folder, QList<CaptureRequest>(20000, files[1]));
        many.cancel();
        many.waitForFinished();
        QVERIFY(many.progressValue() < 20000);
    }
};

QTEST_MAIN(TestCamera)
#include "tst_camera.moc"
