// The catalogue as the scan builds it from the specification text, and the every-N
// selection of its list.

#include "catalogue/Catalogue.h"
#include "catalogue/EveryN.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pellory;

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void rebuild_data();
    void rebuild();
    void extensionKeysFollowEachFile();
    void everyN_data();
    void everyN();
};

void TestCatalogue::rebuild_data()
{
    QTest::addColumn<QString>("files");
    QTest::addColumn<QString>("specs");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("records"); // FileName:NameKey:ExtKey, in order
    // clang-format off
    QTest::newRow("specs in text order") << "a.jpg|b.GIF|c.png" << "*.GIF;*.JPG" << 1 << "b.GIF:B.GIF:GIF|a.jpg:A.JPG:JPG";
    QTest::newRow("blanks kept, empty specs list nothing") << " a.gif|b.gif" << ";*.JPG; *.GIF;" << 1 << " a.gif: A.GIF:GIF";
    QTest::newRow("identical spec scanned once") << "a.txt|c.doc" << "*.TXT;*.TXT" << 1 << "a.txt:A.TXT:TXT";
    QTest::newRow("overlapping specs list a file twice") << "Ab.txt|b.doc" << "A*.TXT;*.TXT" << 1 << "Ab.txt:AB.TXT:TXT|Ab.txt:AB.TXT:TXT";
    QTest::newRow("first occurrence extension") << "p.2024.jpg" << "*.JPG" << 0 << "p.2024.jpg:P.2024.JPG:2024.JPG";
    // clang-format on
}

void TestCatalogue::rebuild()
{
    QFETCH(QString, files);
    QFETCH(QString, specs);
    QFETCH(int, mode);
    QFETCH(QString, records);
    QTemporaryDir root;
    const QDateTime when(QDate(2020, 1, 2), QTime(3, 4, 5, 500), Qt::UTC);
    for (const QString& name : files.split(u'|')) {
        QFile file(root.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) &&
                file.setFileTime(when, QFileDevice::FileModificationTime));
    }
    Catalogue catalogue;
    catalogue.FileRecords.push_back(FileRecord{}); // a rebuild starts from nothing
    rebuildCatalogue(catalogue, root.path(), specs, ExtensionMode(mode));
    QStringList listed;
    for (const FileRecord& record : catalogue.FileRecords) {
        listed << record.FileName + u':' + record.NameKey + u':' + record.ExtKey;
        QCOMPARE(record.WriteTime, 132224078455000000ull); // 100 ns ticks since 1601
        QCOMPARE(record.RawName, record.FileName.toUtf8());
    }
    // The order within one specification is the folder's own.
    QCOMPARE(listed.join(u'|'), records);
}

// A key made once serves the files after it while their extension repeats; a change of
// extension, or of its letter case, between files in any order gives each its own.
void TestCatalogue::extensionKeysFollowEachFile()
{
    QTemporaryDir root;
    for (const char* name : {"a.jpg", "b.JPG", "c.txt", "d.jpg", "e", "f.tar.gz", "g.Jpg"})
        QVERIFY(QFile(root.filePath(name)).open(QIODevice::WriteOnly));
    Catalogue catalogue;
    rebuildCatalogue(catalogue, root.path(), "*", ExtensionMode::UseLastOccurrence);
    QStringList keys;
    for (const FileRecord& record : catalogue.FileRecords)
        keys << record.FileName + u':' + record.ExtKey;
    keys.sort();
    QCOMPARE(keys.join(u'|'), "a.jpg:JPG|b.JPG:JPG|c.txt:TXT|d.jpg:JPG|e:|f.tar.gz:GZ|g.Jpg:JPG");
}

void TestCatalogue::everyN_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("itemCount");
    QTest::addColumn<int>("currentItem");
    QTest::addColumn<QString>("selected"); // "none" when the step is below 1: only deselect
    QTest::addColumn<int>("currentAfter");
    // clang-format off
    QTest::newRow("2 on 7, no current") << "2" << 7 << -1 << "0,2,4,6" << 0;
    QTest::newRow("3 from current 4 of 10") << "3" << 10 << 4 << "4,7" << 4;
    QTest::newRow("2.5x: leading number, half to even") << "2.5x" << 7 << -1 << "0,2,4,6" << 0;
    QTest::newRow("5 on an empty list") << "5" << 0 << -1 << "" << -1;
    QTest::newRow("step past the end") << "999" << 4 << 1 << "1" << 1;
    QTest::newRow("current past the end") << "2" << 3 << 5 << "" << -1;
    QTest::newRow("beyond 16-bit positions") << "999" << 40000 << 39000 << "39000,39999" << 39000;
    QTest::newRow("0.5 rounds to even 0") << "0.5" << 7 << -1 << "none" << -1;
    // clang-format on
}

void TestCatalogue::everyN()
{
    QFETCH(QString, text);
    QFETCH(int, itemCount);
    QFETCH(int, currentItem);
    QFETCH(QString, selected);
    QFETCH(int, currentAfter);
    const qint16 n = selStepsValue(text);
    QCOMPARE(n < 1, selected == "none");
    if (n < 1)
        return;
    const EveryNSelection selection = everyNthItem(itemCount, currentItem, n);
    QStringList items;
    for (const qint32 item : selection.items)
        items.append(QString::number(item));
    QCOMPARE(items.join(u','), selected);
    QCOMPARE(selection.currentItem, currentAfter);
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
