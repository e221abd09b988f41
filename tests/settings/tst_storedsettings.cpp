#include "settings/StoredSettings.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <optional>

using namespace pellory;

class TestStoredSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void roundTrip_data();
    void roundTrip();
    void handWritten_data();
    void handWritten();
    void unwritable_data();
    void unwritable();
    void storedIndex_data();
    void storedIndex();
    void storedCoordinate_data();
    void storedCoordinate();
    void coordinateText_data();
    void coordinateText();

private:
    QString folder() const { return m_config.path() + "/Pellory"; }
    QString iniPath() const { return folder() + "/Pellory.ini"; }
    QTemporaryDir m_config;
};

void TestStoredSettings::initTestCase()
{
    // The store finds its file through this variable once per process.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
}

void TestStoredSettings::init()
{
    QFile::remove(folder()); // a test may have left a file where the folder belongs
    QDir(folder()).removeRecursively();
}

void TestStoredSettings::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    // clang-format off
    QTest::newRow("specs with semicolon") << "*.JPG;*.GIF";
    QTest::newRow("comma and equals") << "a,b=c";
    QTest::newRow("quotes") << "\"quoted\" 'single'";
    QTest::newRow("outer blanks") << "  IMG_  ";
    QTest::newRow("non-ASCII") << "Ångström_ü_日本";
    QTest::newRow("backslash path") << "C:\\PHOTOS\\";
    QTest::newRow("at sign first") << "@String(x)";
    QTest::newRow("empty") << QString();
    // clang-format on
}

void TestStoredSettings::roundTrip()
{
    // Every key gets its own text, so keys mixed up on the way are seen too.
    QFETCH(QString, text);
    {
        StoredSettings store;
        for (std::size_t i = 0; i < kStoreOrder.size(); ++i)
            store.setValue(kStoreOrder[i].name, text + QString::number(i));
        QString error;
        QVERIFY2(store.flush(&error), qPrintable(error));
    }
    const StoredSettings reread;
    for (std::size_t i = 0; i < kStoreOrder.size(); ++i)
        QCOMPARE(reread.value(kStoreOrder[i].name), text + QString::number(i));
}

void TestStoredSettings::handWritten_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("prefix");
    // clang-format off
    QTest::newRow("none, default") << QByteArray() << "IMG_";
    QTest::newRow("quoted specs") << QByteArray("Prefix=\"*.JPG;*.GIF\"\n") << "*.JPG;*.GIF";
    QTest::newRow("semicolon starts a comment") << QByteArray("Prefix=*.JPG;*.GIF\n") << "*.JPG";
    QTest::newRow("list with outer blanks") << QByteArray("Prefix=  a , b  \n") << "a , b";
    QTest::newRow("list with quoted part") << QByteArray("Prefix=a, \"b;c\" ; x\n") << "a, b;c";
    QTest::newRow("list with escape") << QByteArray("Prefix=a,\\x41\\\\\n") << "a,A\\";
    QTest::newRow("doubled at sign") << QByteArray("Prefix=@@at\n") << "@at";
    QTest::newRow("typed value as text") << QByteArray("Prefix=@ByteArray(r)\n") << "@ByteArray(r)";
    QTest::newRow("last of two") << QByteArray("Prefix=a,b\r\nPrefix=c\r\n") << "c";
    QTest::newRow("other section") << QByteArray("[Other]\nPrefix=x,y\n") << "IMG_";
    QTest::newRow("key case matters") << QByteArray("prefix=x\n") << "IMG_";
    QTest::newRow("binary noise") << QByteArray("\0=\xFF\n\x01[\x80]=\n=", 11) << "IMG_";
    QTest::newRow("UTF-16") << QByteArray("\xFF\xFEP\0r\0e\0f\0i\0x\0=\0x\0", 18) << "IMG_";
    QTest::newRow("invalid UTF-8 section") << QByteArray("[Se\xFFttings]\nPrefix=x\n") << "IMG_";
    // clang-format on
}

void TestStoredSettings::handWritten()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, prefix);
    if (!lines.isEmpty()) {
        QVERIFY(QDir().mkpath(folder()));
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write((lines.startsWith("[") ? "" : "[Settings]\n") + lines);
    }
    {
        StoredSettings store;
        QCOMPARE(store.value("Prefix"), prefix);
        QCOMPARE(QFile::exists(iniPath()), !lines.isEmpty()); // reading never creates it
        store.setValue("Prefix", "after, repair");
        QVERIFY(store.flush());
    }
    QCOMPARE(StoredSettings().value("Prefix"), QString("after, repair"));
}

void TestStoredSettings::unwritable_data()
{
    // Tests run as root, who may write anywhere: only a wrong kind of entry stops a write.
    QTest::addColumn<bool>("fileAsFolder");
    // clang-format off
    QTest::newRow("folder where the file belongs") << false;
    QTest::newRow("file where the folder belongs") << true;
    // clang-format on
}

void TestStoredSettings::unwritable()
{
    QFETCH(bool, fileAsFolder);
    if (fileAsFolder) {
        QFile blocker(folder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    } else {
        QVERIFY(QDir().mkpath(iniPath()));
    }
    // Each row its own key: values that failed to be written stay in the process's cache.
    const char* key = fileAsFolder ? "Specs" : "Prefix";
    StoredSettings store;
    QCOMPARE(store.value(key), QString(fileAsFolder ? "*.JPG;*.GIF" : "IMG_"));
    store.setValue(key, "x");
    QString error;
    QVERIFY(!store.flush(&error));
    QVERIFY2(error.contains(fileAsFolder ? folder() : iniPath()), qPrintable(error));
    QCOMPARE(QFileInfo(folder()).isFile(), fileAsFolder); // nothing was replaced
}

void TestStoredSettings::storedIndex_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // -99999: no number
    // clang-format off
    QTest::newRow("whole") << "C" << "2" << 2;
    QTest::newRow("half to even below") << "C" << "2.5" << 2;
    QTest::newRow("half to even above") << "C" << "3.5" << 4;
    QTest::newRow("negative half") << "C" << "-2.5" << -2;
    QTest::newRow("leading blank") << "C" << " 1" << 1;
    QTest::newRow("exponent") << "C" << "1e2" << 100;
    QTest::newRow("largest") << "C" << "32767" << 32767;
    QTest::newRow("rounds past largest") << "C" << "32767.5" << -99999;
    QTest::newRow("rounds to smallest") << "C" << "-32768.5" << -32768;
    QTest::newRow("letters") << "C" << "x" << -99999;
    QTest::newRow("empty") << "C" << "" << -99999;
    QTest::newRow("not a number") << "C" << "nan" << -99999;
    QTest::newRow("German decimal comma") << "de_DE" << "3,5" << 4;
    // clang-format on
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
    QTest::addColumn<float>("expected"); // NaN: does not fit
    const float none = NAN;
    // clang-format off
    QTest::newRow("negative") << "-15" << -15.0f;
    QTest::newRow("point whatever the locale") << "12.75" << 12.75f;
    QTest::newRow("blanks, then text after") << "  30abc" << 30.0f;
    QTest::newRow("no number") << "abc" << 0.0f;
    QTest::newRow("sign alone") << "-" << 0.0f;
    QTest::newRow("no digit before point") << ".5" << 0.5f;
    QTest::newRow("exponent with text") << "2E+2x" << 200.0f;
    QTest::newRow("e without digits") << "1e" << 1.0f;
    QTest::newRow("tiny reads 0") << "1e-50" << 0.0f;
    QTest::newRow("too large for float") << "1e39" << none;
    QTest::newRow("forty digits") << "1" + QString(40, u'0') << none;
    // clang-format on
}

void TestStoredSettings::storedCoordinate()
{
    QFETCH(QString, text);
    QFETCH(float, expected);
    QLocale::setDefault(QLocale(QLocale::German));
    const std::optional<float> coordinate = pellory::storedCoordinate(text);
    QCOMPARE(coordinate.has_value(), !std::isnan(expected));
    if (coordinate)
        QCOMPARE(*coordinate, expected);
}

void TestStoredSettings::coordinateText_data()
{
    QTest::addColumn<float>("twips");
    QTest::addColumn<QString>("expected");
    // clang-format off
    QTest::newRow("minimised far outside") << -480000.0f << "-480000";
    QTest::newRow("beyond 32 bits") << 1e10f << "10000000000";
    QTest::newRow("fraction rounds") << 1234.6f << "1235";
    // clang-format on
}

void TestStoredSettings::coordinateText()
{
    QFETCH(float, twips);
    QFETCH(QString, expected);
    QCOMPARE(pellory::coordinateText(twips), expected);
    QCOMPARE(pellory::storedCoordinate(expected), std::optional<float>(std::nearbyint(twips)));
}

QTEST_GUILESS_MAIN(TestStoredSettings)
#include "tst_storedsettings.moc"
