#pragma once
// Reads the user guide found beside the test program: its whole text, and its tables of
// examples with the settings each table and row carries, so that tests can hold the
// guide's examples against the engine.

#include "window/MainHelp.h"

#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QStringList>
#include <QXmlStreamReader>

#include <vector>

namespace pellory::testing {

struct GuideRow
{
    QString settings; // "key=value;..." of the row, over those of its table
    QStringList cells;
};

struct GuideTable
{
    QString kind; // the table's class: example, every-n, wildcard
    QString settings;
    std::vector<GuideRow> rows; // rows of data cells only
};

struct Guide
{
    bool wellFormed = false;
    QString error;
    QString text; // every character of the body, blanks simplified
    std::vector<GuideTable> tables;
};

inline Guide readGuide()
{
    Guide guide;
    QFile file(findUserGuide(QCoreApplication::applicationDirPath()));
    if (!file.open(QIODevice::ReadOnly)) {
        guide.error = "no guide beside " + QCoreApplication::applicationDirPath();
        return guide;
    }
    QXmlStreamReader xml(&file);
    GuideTable* table = nullptr;
    GuideRow* row = nullptr;
    QString* cell = nullptr;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto attributes = xml.attributes();
            if (xml.name() == u"table") {
                guide.tables.push_back({attributes.value("class").toString(),
                                        attributes.value("data-settings").toString(),
                                        {}});
                table = &guide.tables.back();
            } else if (xml.name() == u"tr" && table) {
                table->rows.push_back({attributes.value("data-settings").toString(), {}});
                row = &table->rows.back();
            } else if (xml.name() == u"td" && row) {
                row->cells.append(QString());
                cell = &row->cells.last();
            }
        } else if (xml.isEndElement()) {
            if (xml.name() == u"td")
                cell = nullptr;
            else if (xml.name() == u"tr" && table && row && row->cells.isEmpty())
                table->rows.pop_back(); // a heading row
            if (xml.name() == u"tr")
                row = nullptr;
            else if (xml.name() == u"table")
                table = nullptr;
        } else if (xml.isCharacters()) {
            guide.text += xml.text();
            if (cell)
                *cell += xml.text();
        }
    }
    guide.wellFormed = !xml.hasError();
    guide.error = xml.errorString();
    guide.text = guide.text.simplified();
    return guide;
}

// "a=1;b=x" into a map; later pairs win, so a row's settings follow its table's.
inline QMap<QString, QString> settingsMap(const QString& tableSettings, const QString& rowSettings)
{
    QMap<QString, QString> map;
    for (const QString& pair : (tableSettings + ';' + rowSettings).split(';', Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf('=');
        map.insert(pair.left(eq), eq < 0 ? QString() : pair.mid(eq + 1));
    }
    return map;
}

} // namespace pellory::testing
