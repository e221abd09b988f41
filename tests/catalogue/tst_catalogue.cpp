#include "catalogue/Catalogue.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pellory;

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void distinctSpecs_data();
    void distinctSpecs();
    void rebuild_data();
    void rebuild();
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
    QTest::addColumn<QString>("files");
    QTest::addColumn<QString>("folder"); // below the test's temporary folder
    QTest::addColumn<QString>("specs");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("records"); // FileName:NameKey:ExtKey, in order
    // clang-format off
    QTest::newRow("specs in text order") << "a.jpg|b.GIF|c.png" << "" << "*.GIF;*.JPG" << 1 << "b.GIF:B.GIF:GIF|a.jpg:A.JPG:JPG";
    QTest::newRow("identical spec scanned once") << "a.txt|c.doc" << "" << "*.TXT;*.TXT" << 1 << "a.txt:A.TXT:TXT";
    QTest::newRow("overlapping specs list a file twice") << "Ab.txt|b.doc" << "" << "A*.TXT;*.TXT" << 1 << "Ab.txt:AB.TXT:TXT|Ab.txt:AB.TXT:TXT";
    QTest::newRow("only separators") << "a.jpg" << "" << ";;" << 1 << "";
    QTest::newRow("name without a dot") << "README" << "" << "*" << 1 << "README:README:";
    QTest::newRow("folder that does not exist") << "a.jpg" << "missing" << "*.JPG" << 1 << "";
    QTest::newRow("first occurrence extension") << "p.2024.jpg" << "" << "*.JPG" << 0 << "p.2024.jpg:P.2024.JPG:2024.JPG";
    // clang-format on
}

void TestCatalogue::rebuild()
{
    QFETCH(QString, files);
    QFETCH(QString, folder);
    QFETCH(QString, specs);
    QFETCH(int, mode);
    QFETCH(QString, records);
    QTemporaryDir root;
    for (const QString& name : files.split(u'|'))
        QVERIFY(QFile(root.filePath(name)).open(QIODevice::WriteOnly));
    Catalogue catalogue;
    catalogue.FileRecords.push_back(FileRecord{}); // a rebuild starts from nothing
    rebuildCatalogue(catalogue, root.path() + u'/' + folder, specs, ExtensionMode(mode));
    QStringList listed;
    for (const FileRecord& record : catalogue.FileRecords)
        listed << record.FileName + u':' + record.NameKey + u':' + record.ExtKey;
    // The order within one specification is the folder's own.
    QCOMPARE(listed.join(u'|'), records);
}

void TestCatalogue::recordCarriesTimeAndBytes()
{
    QTemporaryDir root;
    QFile file(root.path() + "/a.jpg");
    const QDateTime when(QDate(2020, 1, 2), QTime(3, 4, 5, 500), Qt::UTC);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
    Catalogue catalogue;
    ScanFolder(catalogue, root.path(), "*.jpg", ExtensionMode::UseLastOccurrence);
    QCOMPARE(catalogue.FileCount(), 1);
    QCOMPARE(catalogue.record(1).WriteTime, // 100 ns ticks since 1601
             (quint64(when.toSecsSinceEpoch()) + 11644473600ull) * 10000000ull + 5000000ull);
    QCOMPARE(catalogue.record(1).RawName, QByteArray("a.jpg"));
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
