// Splitting the specification text, and rebuilding the catalogue from real folders made
// by the test: which files become records, how often, and with which keys.

#include "catalogue/Catalogue.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pellory;

namespace {

// Creates "name" as an empty file, "name/" as a folder, "SUB/name" inside a folder.
void makeEntries(const QString& root, const QString& entries)
{
    if (entries.isEmpty())
        return;
    for (const QString& entry : entries.split(QLatin1Char('|'))) {
        if (entry.endsWith(QLatin1Char('/'))) {
            QVERIFY(QDir(root).mkpath(entry));
            continue;
        }
        const qsizetype slash = entry.lastIndexOf(QLatin1Char('/'));
        if (slash > 0)
            QVERIFY(QDir(root).mkpath(entry.left(slash)));
        QFile file(root + QLatin1Char('/') + entry);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
}

// Each record as "FileName:NameKey:ExtKey", sorted, so that the enumeration's own order
// within one specification does not matter.
QString describe(const Catalogue& catalogue)
{
    QStringList records;
    for (const FileRecord& record : catalogue.FileRecords)
        records.append(record.FileName + u':' + record.NameKey + u':' + record.ExtKey);
    records.sort();
    return records.join(QLatin1Char('|'));
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void distinctSpecs_data();
    void distinctSpecs();
    void rebuild_data();
    void rebuild();
    void specsInTextOrder_data();
    void specsInTextOrder();
    void recordCarriesTimeAndBytes();
};

void TestCatalogue::distinctSpecs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("specs");

    QTest::newRow("empty text") << "" << QStringList{""};
    QTest::newRow("two specs") << "*.JPG;*.GIF" << QStringList{"*.JPG", "*.GIF"};
    QTest::newRow("trailing separator") << "*.JPG;" << QStringList{"*.JPG"};
    QTest::newRow("two trailing separators") << "*.JPG;;" << QStringList{"*.JPG", ""};
    QTest::newRow("only separators") << ";;" << QStringList{""};
    QTest::newRow("one separator") << ";" << QStringList{""};
    QTest::newRow("only separators") << ";;" << QStringList{""};
    QTest::newRow("leading separator") << ";*.JPG" << QStringList{"", "*.JPG"};
    QTest::newRow("blank kept") << "*.JPG; *.GIF" << QStringList{"*.JPG", " *.GIF"};
    QTest::newRow("identical repeat") << "*.TXT;*.TXT" << QStringList{"*.TXT"};
    QTest::newRow("repeat further on") << "A;B;A;C" << QStringList{"A", "B", "C"};
    QTest::newRow("case makes it different") << "*.TXT;*.txt" << QStringList{"*.TXT", "*.txt"};
    QTest::newRow("overlapping specs both kept")
        << "*.TXT;A*.TXT" << QStringList{"*.TXT", "A*.TXT"};
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
    QTest::addColumn<QString>("records");

    QTest::newRow("two specs, subfolder not listed")
        << "a.jpg|b.GIF|c.png|d.jpg/"
        << ""
        << "*.JPG;*.GIF" << 1 << "a.jpg:A.JPG:JPG|b.GIF:B.GIF:GIF";
    QTest::newRow("identical spec scanned once")
        << "a.txt|b.txt|c.doc"
        << ""
        << "*.TXT;*.TXT" << 1 << "a.txt:A.TXT:TXT|b.txt:B.TXT:TXT";
    QTest::newRow("overlapping specs list A-files twice")
        << "a.txt|Ab.txt|b.txt"
        << ""
        << "*.TXT;A*.TXT" << 1
        << "Ab.txt:AB.TXT:TXT|Ab.txt:AB.TXT:TXT|a.txt:A.TXT:TXT|a.txt:A.TXT:TXT|b.txt:B.TXT:TXT";
    QTest::newRow("overlapping specs the other way round")
        << "a.txt|Ab.txt|b.txt"
        << ""
        << "A*.TXT;*.TXT" << 1
        << "Ab.txt:AB.TXT:TXT|Ab.txt:AB.TXT:TXT|a.txt:A.TXT:TXT|a.txt:A.TXT:TXT|b.txt:B.TXT:TXT";
    QTest::newRow("trailing separator adds nothing") << "a.jpg"
                                                     << ""
                                                     << "*.JPG;" << 1 << "a.jpg:A.JPG:JPG";
    QTest::newRow("leading blank belongs to the spec")
        << "a.gif| b.gif"
        << ""
        << "*.JPG; *.GIF" << 1 << " b.gif: B.GIF:GIF";
    QTest::newRow("empty text") << "a.jpg"
                                << ""
                                << "" << 1 << "";
    QTest::newRow("only separators") << "a.jpg"
                                     << ""
                                     << ";;" << 1 << "";
    QTest::newRow("hidden file listed")
        << ".hidden.jpg|a.jpg"
        << ""
        << "*.JPG" << 1 << ".hidden.jpg:.HIDDEN.JPG:JPG|a.jpg:A.JPG:JPG";
    QTest::newRow("spec with a folder part") << "top.jpg|SUB/x.jpg|SUB/y.png"
                                             << ""
                                             << "SUB/*.JPG" << 1 << "x.jpg:X.JPG:JPG";
    QTest::newRow("name without a dot") << "README|a.txt"
                                        << ""
                                        << "*" << 1 << "README:README:|a.txt:A.TXT:TXT";
    QTest::newRow("folder given with its separator") << "SUB/x.jpg"
                                                     << "SUB/"
                                                     << "*.JPG" << 1 << "x.jpg:X.JPG:JPG";
    QTest::newRow("folder that does not exist") << "a.jpg"
                                                << "missing"
                                                << "*.JPG" << 1 << "";
    QTest::newRow("first occurrence extension")
        << "photo.2024.jpg"
        << ""
        << "*.JPG" << 0 << "photo.2024.jpg:PHOTO.2024.JPG:2024.JPG";
    QTest::newRow("last occurrence extension")
        << "photo.2024.jpg"
        << ""
        << "*.JPG" << 1 << "photo.2024.jpg:PHOTO.2024.JPG:JPG";
    QTest::newRow("no extension used") << "photo.2024.jpg"
                                       << ""
                                       << "*.JPG" << 2 << "photo.2024.jpg:PHOTO.2024.JPG:JPG";
}

void TestCatalogue::rebuild()
{
    QFETCH(QString, entries);
    QFETCH(QString, folder);
    QFETCH(QString, specs);
    QFETCH(int, mode);
    QFETCH(QString, records);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    makeEntries(root.path(), entries);
    Catalogue catalogue;
    catalogue.FileRecords.push_back(FileRecord{}); // a rebuild starts from nothing
    rebuildCatalogue(catalogue, root.path() + u'/' + folder, specs, ExtensionMode(mode));
    QCOMPARE(describe(catalogue), records);
}

void TestCatalogue::specsInTextOrder_data()
{
    QTest::addColumn<QString>("specs");
    QTest::addColumn<QString>("names");
    QTest::newRow("GIF first") << "*.GIF;*.JPG"
                               << "b.gif|a.jpg";
    QTest::newRow("JPG first") << "*.JPG;*.GIF"
                               << "a.jpg|b.gif";
}

void TestCatalogue::specsInTextOrder()
{
    QFETCH(QString, specs);
    QFETCH(QString, names);
    QTemporaryDir root;
    makeEntries(root.path(), QStringLiteral("a.jpg|b.gif"));
    Catalogue catalogue;
    rebuildCatalogue(catalogue, root.path(), specs, ExtensionMode::UseLastOccurrence);
    QStringList listed;
    for (const FileRecord& record : catalogue.FileRecords)
        listed.append(record.FileName);
    QCOMPARE(listed.join(u'|'), names);
}

// The write time in 100 ns ticks since 1601, and the name's bytes as the folder has them.
void TestCatalogue::recordCarriesTimeAndBytes()
{
    QTemporaryDir root;
    makeEntries(root.path(), QStringLiteral("a.jpg"));
    QFile file(root.path() + QStringLiteral("/a.jpg"));
    const QDateTime when(QDate(2020, 1, 2), QTime(3, 4, 5, 500), Qt::UTC);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
    file.close();

    Catalogue catalogue;
    ScanFolder(catalogue, root.path(), QStringLiteral("*.jpg"), ExtensionMode::UseLastOccurrence);
    QCOMPARE(catalogue.FileCount(), 1);
    const quint64 ticks =
        (quint64(when.toSecsSinceEpoch()) + 11644473600ull) * 10000000ull + 500ull * 10000ull;
    QCOMPARE(catalogue.record(1).WriteTime, ticks);
    QCOMPARE(catalogue.record(1).RawName, QByteArray("a.jpg"));
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
