// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
// The settings store: every key back as written, hand-written and damaged files read as the
// user meant them, and the numbers the window restores from their texts.

#include "settings/StoredSettings.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace pellory;

class TestStoredSettings : public QObject
{
    Q_OBJECT

private slots:
    // The store finds its file through this variable once per process.
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path())); }
    void init() { QDir(folder()).removeRecursively(); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void roundTrip();
    void handWritten_data();
    void handWritten();
    void storedNumbers_data();
    void storedNumbers();

private:
    QString folder() const { return m_config.path() + "/Pellory"; }
    QString iniPath() const { return folder() + "/Pellory.ini"; }
    QString linkTarget() const { return m_config.path() + "/elsewhere.ini"; }
    QTemporaryDir m_config;
};

void TestStoredSettings::roundTrip()
{
    // Every key its own text, so keys mixed up on the way are seen too; read back by the
    // store and by QSettings.
    const QStringList texts{" *.JPG,a=\"b\" 'c' Ångström ", "*.JPG;*.GIF", "@@x)",
                            "\\x1\x01"
                            "1\t"};
    StoredSettings store;
    for (std::size_t i = 0; i < kStoreOrder.size(); ++i)
        store.setValue(kStoreOrder[i], texts[i % 4] + QString::number(i));
    QVERIFY(store.flush());
    const StoredSettings reread;
    QSettings qt(iniPath(), QSettings::IniFormat);
    for (std::size_t i = 0; i < kStoreOrder.size(); ++i) {
        const QString text = texts[i % 4] + QString::number(i);
        QCOMPARE(reread.value(kStoreOrder[i]), text);
        QCOMPARE(qt.value(QString("Settings/") + entryOf(kStoreOrder[i]).name).toString(), text);
    }
}

void TestStoredSettings::handWritten_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("prefix");
    // clang-format off
    QTest::newRow("none, default") << QByteArray() << "IMG_";
    QTest::newRow("quoted specs") << QByteArray("Prefix=\"*.JPG;*.GIF\"\n") << "*.JPG;*.GIF";
    QTest::newRow("list with quoted part") << QByteArray("Prefix=a, \"b;c\" ; x\n") << "a, b;c";
    QTest::newRow("list with escape") << QByteArray("Prefix=a,\\x41\\\\\n") << "a,A\\";
    QTest::newRow("typed value as text") << QByteArray("Prefix=@ByteArray(r)\n") << "@ByteArray(r)";
    QTest::newRow("last of two") << QByteArray("Prefix=a,b\r\nPrefix=c\r\n") << "c";
    QTest::newRow("other section") << QByteArray("[Other]\nPrefix=x,y\n") << "IMG_";
    QTest::newRow("a FIFO in its place") << QByteArray("FIFO") << "IMG_";
    QTest::newRow("a link to a file elsewhere") << QByteArray("LINK") << "linked";
    QTest::newRow("binary noise") << QByteArray("\0=\xFF\n\x01[\x80]=\n=", 11) << "IMG_";
    // clang-format on
}

void TestStoredSettings::handWritten()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, prefix);
    const QByteArray elsewhere = "[Settings]\nPrefix=linked\n";
    if (lines == "FIFO") { // a read of it would wait for a writer forever
        QVERIFY(QDir().mkpath(folder()) && ::mkfifo(QFile::encodeName(iniPath()), 0600) == 0);
    } else if (lines == "LINK") { // read through, but the file it names is not ours to write
        QFile target(linkTarget());
        QVERIFY(QDir().mkpath(folder()) && target.open(QIODevice::WriteOnly));
        QVERIFY(target.write(elsewhere) == elsewhere.size() && target.flush());
        QVERIFY(QFile::link(linkTarget(), iniPath()));
    } else if (!lines.isEmpty()) {
        QVERIFY(QDir().mkpath(folder()));
        QFile file(iniPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write((lines.startsWith("[") ? "" : "[Settings]\n") + lines);
    }
    {
        StoredSettings store;
        QCOMPARE(store.value(SettingKey::Prefix), prefix);
        QCOMPARE(QFile::exists(iniPath()), !lines.isEmpty()); // reading never creates it
        store.setValue(SettingKey::Prefix, "after, repair");
        QVERIFY(store.flush());
    }
    QCOMPARE(StoredSettings().value(SettingKey::Prefix), QString("after, repair"));
    struct stat st;
    QVERIFY(::lstat(QFile::encodeName(iniPath()), &st) == 0 && S_ISREG(st.st_mode));
    if (lines == "LINK") {
        QCOMPARE(st.st_mode & 0777, 0600u);
        QFile target(linkTarget());
        QVERIFY(target.open(QIODevice::ReadOnly));
        QCOMPARE(target.readAll(), elsewhere);
    }
}

void TestStoredSettings::storedNumbers_data()
{
    // The row name's first word says the function: storedIndex, storedCoordinate, or
    // coordinateText of the text read as a float.
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // "none": no value
    // clang-format off
    QTest::newRow("index half to even") << "C" << "2.5" << "2";
    QTest::newRow("index rounds past largest") << "C" << "32767.5" << "none";
    QTest::newRow("index rounds to smallest") << "C" << "-32768.5" << "-32768";
    QTest::newRow("index not a number") << "C" << "nan" << "none";
    QTest::newRow("index German decimal comma") << "de_DE" << "3,5" << "4";
    QTest::newRow("coordinate negative") << "de_DE" << "-15" << "-15";
    QTest::newRow("coordinate point whatever the locale") << "de_DE" << "12.75" << "12.75";
    QTest::newRow("coordinate blanks, then text after") << "C" << "  30abc" << "30";
    QTest::newRow("coordinate no number") << "C" << "abc" << "0";
    QTest::newRow("coordinate no digit before point") << "C" << ".5" << "0.5";
    QTest::newRow("coordinate exponent with text") << "C" << "2E+2x" << "200";
    QTest::newRow("coordinate e without digits") << "C" << "1e" << "1";
    QTest::newRow("coordinate tiny reads 0") << "C" << "1e-50" << "0";
    QTest::newRow("coordinate too large for float") << "C" << "1e39" << "none";
    QTest::newRow("written minimised far outside") << "C" << "-480000" << "-480000";
    QTest::newRow("written beyond 32 bits") << "C" << "1e10" << "10000000000";
    QTest::newRow("written fraction rounds") << "C" << "1234.6" << "1235";
    // clang-format on
}

void TestStoredSettings::storedNumbers()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QLocale::setDefault(QLocale(locale));
    const QString kind = QString(QTest::currentDataTag()).section(' ', 0, 0);
    const auto shown = [](const auto& value) { return value ? QString::number(*value) : "none"; };
    QCOMPARE(kind == "index"        ? shown(storedIndex(text))
             : kind == "coordinate" ? shown(storedCoordinate(text))
                                    : coordinateText(text.toFloat()),
             expected);
}

QTEST_GUILESS_MAIN(TestStoredSettings)
#include "tst_storedsettings.moc"
