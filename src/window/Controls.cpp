// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "window/Controls.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace pellory {

namespace {

class LabelledList : public QAccessibleWidget
{
public:
    explicit LabelledList(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    // The name: the role, else the leading label's caption without its access key.
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return list()->currentText();
        const QString text = QAccessibleWidget::text(t);
        return t == QAccessible::Name ? text.trimmed() : text;
    }
    QStringList actionNames() const override
    {
        return QAccessibleWidget::actionNames() << showMenuAction();
    }
    void doAction(const QString& action) override
    {
        if (action == showMenuAction())
            list()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* labelledList(const QString&, QObject* object)
{
    auto* list = qobject_cast<QComboBox*>(object);
    return list ? new LabelledList(list) : nullptr;
}

} // namespace

void announceListsByLabel()
{
    static const bool installed = (QAccessible::installFactory(labelledList), true);
    Q_UNUSED(installed);
}

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

void setTexts(const QMetaObject& owner, std::initializer_list<ControlText> texts)
{
    const auto translated = [&owner](const char* text) {
        return QCoreApplication::translate(owner.className(), text);
    };
    for (const ControlText& t : texts) {
        const QString caption = t.caption ? translated(t.caption) : QString();
        if (auto* label = qobject_cast<QLabel*>(t.control))
            label->setText(caption);
        else if (auto* button = qobject_cast<QAbstractButton*>(t.control))
            button->setText(caption);
        else if (auto* frame = qobject_cast<QGroupBox*>(t.control))
            frame->setTitle(caption);
        if (t.tip)
            t.control->setToolTip(translated(t.tip));
        if (t.role)
            t.control->setAccessibleName(translated(t.role));
    }
}

} // namespace pellory
