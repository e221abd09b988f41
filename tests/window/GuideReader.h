#pragma once
// Reads the user guide found beside the test program: its whole text, and its tables of
// examples with the settings each table and row carries, so that tests can hold the
// guide's examples against the engine.

#include "window/MainHelp.h"

#include <QCoreApplication>
#include <QFile>
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
    QString error; // empty when the guide was found and is well-formed
    QString text;  // every character of the body, blanks simplified
    std::vector<GuideTable> tables;
};

inline Guide readGuide()
{
    Guide guide;
    QFile file(findUserGuide(QCoreApplication::applicationDirPath()));
    if (!file.open(QIODevice::ReadOnly))
        return {"no guide beside " + QCoreApplication::applicationDirPath(), {}, {}};
    QXmlStreamReader xml(&file);
    bool inTable = false, inCell = false;
    while (!xml.atEnd()) {
        xml.readNext();
        const auto attribute = [&](const char* name) {
            return xml.attributes().value(name).toString();
        };
        if (xml.isStartElement() && xml.name() == u"table")
            guide.tables.push_back({attribute("class"), attribute("data-settings"), {}});
        else if (xml.isStartElement() && xml.name() == u"tr" && inTable)
            guide.tables.back().rows.push_back({attribute("data-settings"), {}});
        else if (xml.isStartElement() && xml.name() == u"td" && inTable)
            guide.tables.back().rows.back().cells.append(QString());
        else if (xml.isEndElement() && xml.name() == u"tr" && inTable &&
                 guide.tables.back().rows.back().cells.isEmpty())
            guide.tables.back().rows.pop_back(); // a heading row
        if (xml.isStartElement() || xml.isEndElement()) {
            inTable = xml.name() == u"table" ? xml.isStartElement() : inTable;
            inCell = xml.name() == u"td" ? xml.isStartElement() && inTable : inCell;
        } else if (xml.isCharacters()) {
            guide.text += xml.text();
            if (inCell)
                guide.tables.back().rows.back().cells.last() += xml.text();
        }
    }
    guide.error = xml.hasError() ? xml.errorString() : QString();
    guide.text = guide.text.simplified();
    return guide;
}

} // namespace pellory::testing
