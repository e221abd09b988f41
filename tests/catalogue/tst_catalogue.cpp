#include "catalogue/Catalogue.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pellory;

// Creates "name" as an empty file, "name/" as a folder, "SUB/name" inside a folder.
static void makeEntries(const QString& root, const QString& entries)
{
    for (const QString& entry : entries.split(u'|', Qt::SkipEmptyParts)) {
        if (entry.contains(u'/'))
            QVERIFY(QDir(root).mkpath(entry.endsWith(u'/') ? entry : entry.section(u'/', 0, -2)));
        QFile file(root + u'/' + entry);
        QVERIFY(entry.endsWith(u'/') || file.open(QIODevice::WriteOnly));
    }
}

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void distinctSpecs_data();
    void distinctSpecs();
    void rebuild_data();
    void rebuild();
    void specsInTextOrder();
    void recordCarriesTimeAndBytes();
};

void TestCatalogue::distinctSpecs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("specs");
    // clang-format off
    QTest::newRow("empty text") << "" << QStringList{""};
    QTest::newRow("trailing separator") << "*.JPG;" << QStringList{"*.JPG"};
    QTest::newRow("two trailing separators") << "*.JPG;;" << QStringList{"*.JPG", ""};
    QTest::newRow("only separators") << ";;" << QStringList{""};
    QTest::newRow("leading separator") << ";*.JPG" << QStringList{"", "*.JPG"};
    QTest::newRow("blank kept") << "*.JPG; *.GIF" << QStringList{"*.JPG", " *.GIF"};
    QTest::newRow("repeat further on") << "A;B;A;C" << QStringList{"A", "B", "C"};
    QTest::newRow("case makes it different") << "*.TXT;*.txt" << QStringList{"*.TXT", "*.txt"};
    // clang-format on
}

void TestCatalogue::distinctSpecs()
{
    QFETCH(QString, text);
    QFETCH(QStringList, specs);
    QCOMPARE(distinctFileSpecs(text), specs);
}

void TestCatalogue::rebuild_data()
{
    QTest::addColumn<QString>("entries");
    QTest::addColumn<QString>("folder"); // below the test's temporary folder
    QTest::addColumn<QString>("specs");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("records"); // FileName:NameKey:ExtKey, sorted
    const QString twice =
        "Ab.txt:AB.TXT:TXT|Ab.txt:AB.TXT:TXT|a.txt:A.TXT:TXT|a.txt:A.TXT:TXT|b.txt:B.TXT:TXT";
    // clang-format off
    QTest::newRow("two specs, subfolder not listed") << "a.jpg|b.GIF|c.png|d.jpg/" << "" << "*.JPG;*.GIF" << 1 << "a.jpg:A.JPG:JPG|b.GIF:B.GIF:GIF";
    QTest::newRow("identical spec scanned once") << "a.txt|c.doc" << "" << "*.TXT;*.TXT" << 1 << "a.txt:A.TXT:TXT";
    QTest::newRow("overlapping specs list A-files twice") << "a.txt|Ab.txt|b.txt" << "" << "*.TXT;A*.TXT" << 1 << twice;
    QTest::newRow("overlapping specs the other way round") << "a.txt|Ab.txt|b.txt" << "" << "A*.TXT;*.TXT" << 1 << twice;
    QTest::newRow("leading blank belongs to the pattern") << "a.gif| b.gif" << "" << "*.JPG; *.GIF" << 1 << " b.gif: B.GIF:GIF";
    QTest::newRow("only separators") << "a.jpg" << "" << ";;" << 1 << "";
    QTest::newRow("hidden file listed") << ".h.jpg" << "" << "*.JPG" << 1 << ".h.jpg:.H.JPG:JPG";
    QTest::newRow("spec with a folder part") << "top.jpg|SUB/x.jpg|SUB/y.png" << "" << "SUB/*.JPG" << 1 << "x.jpg:X.JPG:JPG";
    QTest::newRow("name without a dot") << "README" << "" << "*" << 1 << "README:README:";
    QTest::newRow("folder given with its separator") << "SUB/x.jpg" << "SUB/" << "*.JPG" << 1 << "x.jpg:X.JPG:JPG";
    QTest::newRow("folder that does not exist") << "a.jpg" << "missing" << "*.JPG" << 1 << "";
    QTest::newRow("first occurrence extension") << "p.2024.jpg" << "" << "*.JPG" << 0 << "p.2024.jpg:P.2024.JPG:2024.JPG";
    QTest::newRow("no extension used") << "p.2024.jpg" << "" << "*.JPG" << 2 << "p.2024.jpg:P.2024.JPG:JPG";
    // clang-format on
}

void TestCatalogue::rebuild()
{
    QFETCH(QString, entries);
    QFETCH(QString, folder);
    QFETCH(QString, specs);
    QFETCH(int, mode);
    QFETCH(QString, records);
    QTemporaryDir root;
    makeEntries(root.path(), entries);
    Catalogue catalogue;
    catalogue.FileRecords.push_back(FileRecord{}); // a rebuild starts from nothing
    rebuildCatalogue(catalogue, root.path() + u'/' + folder, specs, ExtensionMode(mode));
    QStringList listed;
    for (const FileRecord& record : catalogue.FileRecords)
        listed << record.FileName + u':' + record.NameKey + u':' + record.ExtKey;
    listed.sort(); // the enumeration's order within one specification is its own
    QCOMPARE(listed.join(u'|'), records);
}

void TestCatalogue::specsInTextOrder()
{
    QTemporaryDir root;
    makeEntries(root.path(), "a.jpg|b.gif");
    for (const QString specs : {"*.GIF;*.JPG", "*.JPG;*.GIF"}) {
        Catalogue catalogue;
        rebuildCatalogue(catalogue, root.path(), specs, ExtensionMode::UseLastOccurrence);
        QCOMPARE(catalogue.FileCount(), 2);
        QCOMPARE(catalogue.record(1).ExtKey, specs.mid(2, 3));
    }
}

void TestCatalogue::recordCarriesTimeAndBytes()
{
    QTemporaryDir root;
    QFile file(root.path() + "/a.jpg");
    const QDateTime when(QDate(2020, 1, 2), QTime(3, 4, 5, 500), Qt::UTC);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
    file.close();
    Catalogue catalogue;
    ScanFolder(catalogue, root.path(), "*.jpg", ExtensionMode::UseLastOccurrence);
    QCOMPARE(catalogue.FileCount(), 1);
    // 100 ns ticks since 1601
    QCOMPARE(catalogue.record(1).WriteTime,
             (quint64(when.toSecsSinceEpoch()) + 11644473600ull) * 10000000ull + 5000000ull);
    QCOMPARE(catalogue.record(1).RawName, QByteArray("a.jpg"));
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
