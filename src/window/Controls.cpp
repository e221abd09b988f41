#include "window/Controls.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace pellory {

QLabel* makeLabel(QWidget* parent, const char* name, bool rightAligned)
{
    auto* label = makeControl<QLabel>(parent, name);
    label->setAlignment((rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
    return label;
}

QLineEdit* makeField(QWidget* parent, const char* name, int maxLength)
{
    auto* field = makeControl<QLineEdit>(parent, name);
    if (maxLength > 0)
        field->setMaxLength(maxLength);
    return field;
}

void setTexts(std::initializer_list<ControlText> texts)
{
    for (const ControlText& t : texts) {
        const QString caption = t.caption ? QString::fromLatin1(t.caption) : QString();
        if (auto* label = qobject_cast<QLabel*>(t.control))
            label->setText(caption);
        else if (auto* button = qobject_cast<QAbstractButton*>(t.control))
            button->setText(caption);
        else if (auto* frame = qobject_cast<QGroupBox*>(t.control))
            frame->setTitle(caption);
        if (t.tip)
            t.control->setToolTip(QString::fromLatin1(t.tip));
        t.control->setAccessibleName(t.caption ? QString(caption).remove(u'&').trimmed()
                                               : QString::fromLatin1(t.role));
    }
}

} // namespace pellory
