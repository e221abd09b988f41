#include "settings/StoredSettings.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <optional>

using pellory::StoredSettings;

namespace {

QString joined(const std::array<pellory::SettingKey, 18>& keys, bool withValues,
               const StoredSettings* store = nullptr)
{
    QStringList parts;
    for (const pellory::SettingKey& key : keys) {
        QString part = QString::fromLatin1(key.name);
        if (withValues)
            part += u'=' + store->value(key.name);
        parts << part;
    }
    return parts.join(u'|');
}

QString defaults()
{
    QStringList parts;
    for (const pellory::SettingKey& key : pellory::kRestoreOrder)
        parts << QString::fromLatin1(key.name) + u'=' + QString::fromLatin1(key.defaultValue);
    return parts.join(u'|');
}

// Writes each key with a text unlike its default and unlike the other keys' texts.
QString textFor(int i)
{
    return QStringLiteral(" v%1;,=\"é\" ").arg(i);
}

} // namespace

class TestStoredSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void emptyStoreGivesDefaults();
    void storeOrder();
    void roundTrip_data();
    void roundTrip();
    void roundTripEveryKey();
    void handWritten_data();
    void handWritten();
    void corruptFile_data();
    void corruptFile();
    void unreadableFile();
    void unwritableStore();
    void storedIndex_data();
    void storedIndex();
    void storedCoordinate_data();
    void storedCoordinate();
    void coordinateText_data();
    void coordinateText();

private:
    QString folder() const { return m_config.path() + QStringLiteral("/Pellory"); }
    QString iniPath() const { return folder() + QStringLiteral("/Pellory.ini"); }
    void writeIni(const QByteArray& content);

    QTemporaryDir m_config;
};

void TestStoredSettings::initTestCase()
{
    // The store finds its file through this variable once per process, so it is set
    // before the first store is made; every test then starts from an empty folder.
    QVERIFY(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
}

void TestStoredSettings::init()
{
    QFile::remove(folder()); // a test may have left a file where the folder belongs
    QDir(folder()).removeRecursively();
}

void TestStoredSettings::cleanup()
{
    QLocale::setDefault(QLocale::c());
}

void TestStoredSettings::writeIni(const QByteArray& content)
{
    QVERIFY(QDir().mkpath(folder()));
    QFile file(iniPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

void TestStoredSettings::emptyStoreGivesDefaults()
{
    const StoredSettings store;
    QCOMPARE(joined(pellory::kRestoreOrder, true, &store),
             QStringLiteral("WindowTop=|WindowLeft=|Specs=*.JPG;*.GIF|LastDrive=|LastDir=|"
                            "Cases=0|Keep=0|Prefix=IMG_|Number=001|Increment=1|AlphaNumber=AAA|"
                            "AlphaIncrement=1|Alpha=0|Leading=|FileExt=1|NewExtInx=0|"
                            "NewExtUser=|SelSteps="));
    QVERIFY(!store.contains("NewExtUser"));
    QVERIFY(!QFile::exists(iniPath())); // reading never creates the file
}

void TestStoredSettings::storeOrder()
{
    QCOMPARE(joined(pellory::kStoreOrder, false),
             QStringLiteral("WindowTop|WindowLeft|LastDrive|LastDir|Specs|Cases|Keep|Prefix|"
                            "Number|Increment|AlphaNumber|AlphaIncrement|Alpha|Leading|FileExt|"
                            "NewExtInx|NewExtUser|SelSteps"));
}

void TestStoredSettings::roundTrip_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("specs with semicolon") << QStringLiteral("*.JPG;*.GIF");
    QTest::newRow("comma") << QStringLiteral("a,b");
    QTest::newRow("equals") << QStringLiteral("x=y");
    QTest::newRow("quotes") << QStringLiteral("\"quoted\" 'single'");
    QTest::newRow("leading and trailing blanks") << QStringLiteral("  IMG_  ");
    QTest::newRow("non-ASCII") << QStringLiteral("Ångström_ü_日本");
    QTest::newRow("backslash path") << QStringLiteral("C:\\PHOTOS\\");
    QTest::newRow("at sign first") << QStringLiteral("@String(x)");
    QTest::newRow("brackets") << QStringLiteral("[Settings]");
    QTest::newRow("empty") << QString();
}

void TestStoredSettings::roundTrip()
{
    QFETCH(QString, text);
    {
        StoredSettings store;
        store.setValue("Prefix", text);
        QString error;
        QVERIFY2(store.flush(&error), qPrintable(error));
    }
    const StoredSettings reread;
    QVERIFY(reread.contains("Prefix"));
    QCOMPARE(reread.value("Prefix"), text);
}

void TestStoredSettings::roundTripEveryKey()
{
    {
        StoredSettings store;
        for (int i = 0; i < int(pellory::kStoreOrder.size()); ++i)
            store.setValue(pellory::kStoreOrder[i].name, textFor(i));
        QVERIFY(store.flush());
    }
    const StoredSettings reread;
    for (int i = 0; i < int(pellory::kStoreOrder.size()); ++i)
        QCOMPARE(reread.value(pellory::kStoreOrder[i].name), textFor(i));
}

void TestStoredSettings::handWritten_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("prefix");

    auto row = [](const char* name, const char* lines, const QString& prefix) {
        QTest::newRow(name) << QByteArray("[Settings]\n") + lines << prefix;
    };
    row("quoted specs", "Prefix=\"*.JPG;*.GIF\"\n", QStringLiteral("*.JPG;*.GIF"));
    row("unquoted semicolon starts a comment", "Prefix=*.JPG;*.GIF\n", QStringLiteral("*.JPG"));
    row("list without blanks", "Prefix=a,b\n", QStringLiteral("a,b"));
    row("list with outer blanks", "Prefix=  a , b  \n", QStringLiteral("a , b"));
    row("list with quoted part and comment", "Prefix=a, \"b;c\" ; note\n",
        QStringLiteral("a, b;c"));
    row("list with quoted blanks", "Prefix=\" a\",\"b \"\n", QStringLiteral(" a,b "));
    row("list with escape", "Prefix=a,\\x41\\\\\n", QStringLiteral("a,A\\"));
    row("list non-ASCII", "Prefix=\xC3\xA9,\xC3\xBC\n", QStringLiteral("é,ü"));
    row("quoted comma", "Prefix=\",\"\n", QStringLiteral(","));
    row("doubled at sign", "Prefix=@@at\n", QStringLiteral("@at"));
    row("typed value kept as text", "Prefix=@ByteArray(raw)\n", QStringLiteral("@ByteArray(raw)"));
    row("CRLF list", "Prefix=a,b\r\nKeep=2\r\n", QStringLiteral("a,b"));
    row("last of two lists", "Prefix=a,b\nPrefix=c,d\n", QStringLiteral("c,d"));
    row("other section", "Keep=2\n[Other]\nPrefix=x,y\n", QStringLiteral("IMG_"));
    row("key case matters", "prefix=x\n", QStringLiteral("IMG_"));
}

void TestStoredSettings::handWritten()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, prefix);
    writeIni(file);
    const StoredSettings store;
    QCOMPARE(store.value("Prefix"), prefix);
}

void TestStoredSettings::corruptFile_data()
{
    QTest::addColumn<QByteArray>("file");

    QByteArray noise;
    for (int i = 0; i < 4096; ++i)
        noise.append(char((i * 131 + 7) % 256)); // every byte value, '=' and newlines included
    QTest::newRow("binary noise") << noise;
    QTest::newRow("NUL bytes") << QByteArray(512, '\0');
    QTest::newRow("cut-off section") << QByteArray("[Settin");
    QTest::newRow("UTF-16 text") << QByteArray("\xFF\xFE[\0S\0e\0t\0t\0i\0n\0g\0s\0]\0\n\0", 24);
    QTest::newRow("invalid UTF-8 section") << QByteArray("[Se\xFFttings]\nPrefix=x\n");
}

void TestStoredSettings::corruptFile()
{
    QFETCH(QByteArray, file);
    writeIni(file);
    {
        StoredSettings store;
        QCOMPARE(joined(pellory::kRestoreOrder, true, &store), defaults());
        store.setValue("Prefix", QStringLiteral("after, repair"));
        QString error;
        QVERIFY2(store.flush(&error), qPrintable(error));
    }
    QCOMPARE(StoredSettings().value("Prefix"), QStringLiteral("after, repair"));
}

void TestStoredSettings::unreadableFile()
{
    QVERIFY(QDir().mkpath(iniPath())); // a folder where the file belongs
    StoredSettings store;
    QCOMPARE(store.value("Specs"), QStringLiteral("*.JPG;*.GIF"));
    store.setValue("Specs", QStringLiteral("*.PNG"));
    QString error;
    QVERIFY(!store.flush(&error));
    QVERIFY2(error.contains(iniPath()), qPrintable(error));
}

void TestStoredSettings::unwritableStore()
{
    // Tests run as root, who may write anywhere: a file in the folder's place is what
    // stops the write.
    QFile blocker(folder());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    StoredSettings store;
    store.setValue("Prefix", QStringLiteral("X_"));
    QString error;
    QVERIFY(!store.flush(&error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(folder()).isFile()); // nothing was replaced
}

void TestStoredSettings::storedIndex_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // -99999: no number

    const int none = -99999;
    auto row = [](const char* name, const char* locale, const char* text, int expected) {
        QTest::newRow(name) << QString::fromLatin1(locale) << QString::fromUtf8(text) << expected;
    };
    row("whole", "C", "2", 2);
    row("half rounds to even below", "C", "2.5", 2);
    row("half rounds to even above", "C", "3.5", 4);
    row("negative half", "C", "-2.5", -2);
    row("leading blank", "C", " 1", 1);
    row("exponent", "C", "1e2", 100);
    row("largest", "C", "32767", 32767);
    row("smallest", "C", "-32768", -32768);
    row("rounds past largest", "C", "32767.5", none);
    row("rounds to smallest", "C", "-32768.5", -32768);
    row("too large", "C", "70000", none);
    row("letters", "C", "x", none);
    row("empty", "C", "", none);
    row("infinity", "C", "inf", none);
    row("not a number", "C", "nan", none);
    row("German decimal comma", "de_DE", "2,5", 2);
    row("German decimal comma above", "de_DE", "3,5", 4);
}

void TestStoredSettings::storedIndex()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(int, expected);
    QLocale::setDefault(QLocale(locale));
    const std::optional<qint16> index = pellory::storedIndex(text);
    QCOMPARE(index ? int(*index) : -99999, expected);
}

void TestStoredSettings::storedCoordinate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<float>("expected");

    auto row = [](const char* name, const QString& text, bool fits, float expected) {
        QTest::newRow(name) << text << fits << expected;
    };
    row("whole", QStringLiteral("1440"), true, 1440.0f);
    row("negative", QStringLiteral("-15"), true, -15.0f);
    row("point whatever the locale", QStringLiteral("12.75"), true, 12.75f);
    row("leading blanks", QStringLiteral("  30"), true, 30.0f);
    row("text after the number", QStringLiteral("30abc"), true, 30.0f);
    row("no number", QStringLiteral("abc"), true, 0.0f);
    row("empty", QString(), true, 0.0f);
    row("sign alone", QStringLiteral("-"), true, 0.0f);
    row("plus sign", QStringLiteral("+7"), true, 7.0f);
    row("no digit before point", QStringLiteral(".5"), true, 0.5f);
    row("exponent", QStringLiteral("1e3"), true, 1000.0f);
    row("exponent with text", QStringLiteral("2E+2x"), true, 200.0f);
    row("e without digits", QStringLiteral("1e"), true, 1.0f);
    row("tiny reads 0", QStringLiteral("1e-50"), true, 0.0f);
    row("too large for float", QStringLiteral("1e39"), false, 0.0f);
    row("too large for double", QStringLiteral("1e400"), false, 0.0f);
    row("forty digits", QStringLiteral("1") + QString(40, u'0'), false, 0.0f);
}

void TestStoredSettings::storedCoordinate()
{
    QFETCH(QString, text);
    QFETCH(bool, fits);
    QFETCH(float, expected);
    QLocale::setDefault(QLocale(QLocale::German)); // the point is read as "." regardless
    const std::optional<float> coordinate = pellory::storedCoordinate(text);
    QCOMPARE(coordinate.has_value(), fits);
    if (fits)
        QCOMPARE(*coordinate, expected);
}

void TestStoredSettings::coordinateText_data()
{
    QTest::addColumn<float>("twips");
    QTest::addColumn<QString>("expected");

    QTest::newRow("zero") << 0.0f << "0";
    QTest::newRow("screen width") << 28800.0f << "28800";
    QTest::newRow("minimised far outside") << -480000.0f << "-480000";
    QTest::newRow("beyond 32 bits") << 1e10f << "10000000000";
    QTest::newRow("fraction rounds") << 1234.6f << "1235";
}

void TestStoredSettings::coordinateText()
{
    QFETCH(float, twips);
    QFETCH(QString, expected);
    const QString text = pellory::coordinateText(twips);
    QCOMPARE(text, expected);
    // What is written must read back as the same whole number.
    QCOMPARE(pellory::storedCoordinate(text), std::optional<float>(std::nearbyint(twips)));
}

QTEST_GUILESS_MAIN(TestStoredSettings)
#include "tst_storedsettings.moc"
