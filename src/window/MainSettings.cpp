// Each stored setting bound to its control or counter text: what restoring it at start
// does (raising the control's handler, as a user's edit would) and what is stored at close.
// A restored value that its control refuses is skipped, and start-up goes on.

#include "settings/StoredSettings.h"
#include "window/DriveSelector.h"
#include "window/FolderSelector.h"
#include "window/Main.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <cmath>

namespace pellory {

namespace {

// The index a stored text names, when it is a number from first to last.
std::optional<int> storedIndexIn(const QString& text, int first, int last)
{
    const std::optional<qint16> value = storedIndex(text);
    if (!value || *value < first || *value > last)
        return std::nullopt;
    return *value;
}

std::function<void(const QString&)> setText(QLineEdit* field)
{
    return [field](const QString& text) { field->setText(text); };
}

std::function<std::optional<QString>()> textOf(const QLineEdit* field)
{
    return [field] { return field->text(); };
}

} // namespace

const Main::SettingBinding* Main::bindingFor(const std::vector<SettingBinding>& bindings,
                                             const char* key)
{
    for (const SettingBinding& binding : bindings) {
        if (qstrcmp(binding.key, key) == 0)
            return &binding;
    }
    qFatal("no binding for the stored setting %s", key);
}

std::vector<Main::SettingBinding> Main::settingBindings()
{
    const auto twips = [this](int pixels, Qt::Orientation along) {
        return coordinateText(float(std::lround(pixels * twipsPerPixel(along))));
    };
    const auto variable = [](QString& text) {
        return SettingBinding{nullptr, [&text](const QString& value) { text = value; },
                              [&text] { return std::optional<QString>(text); }};
    };
    std::vector<SettingBinding> bindings{
        {"WindowTop", nullptr, [=, this] { return twips(y(), Qt::Vertical); }},
        {"WindowLeft", nullptr, [=, this] { return twips(x(), Qt::Horizontal); }},
        {"Specs", setText(FileSpecs), textOf(FileSpecs)},
        {"LastDrive",
         [this](const QString& text) {
             if (!text.isEmpty())
                 DriveList->setDrive(text);
         },
         [this] { return DriveList->drive(); }},
        {"LastDir",
         [this](const QString& text) {
             // The list fills at start even when the stored folder is the one already
             // shown; no stored folder means the folder shown.
             const int before = m_dirChanges;
             if (!text.isEmpty() && !DirList->setPath(text))
                 return;
             if (m_dirChanges == before)
                 DirList_Change();
         },
         [this] { return DirList->path(); }},
        {"Cases",
         [this](const QString& text) {
             if (const auto i = storedIndexIn(text, 0, CasesList->count() - 1))
                 CasesList->setCurrentIndex(*i);
         },
         [this] { return QString::number(CasesList->currentIndex()); }},
        {"Keep", setText(NumCharKeep), textOf(NumCharKeep)},
        {"Prefix", setText(FilePrefix), textOf(FilePrefix)},
        {"Number",
         [this](const QString& text) {
             StartingNumber->setText(text);
             NumberText = StartingNumber->text();
         },
         variable(NumberText).store},
        {"Increment",
         [this](const QString& text) {
             NumberIncValue->setText(text);
             IncrementText = NumberIncValue->text();
         },
         variable(IncrementText).store},
        {"AlphaNumber", variable(AlphaNumberText).restore, variable(AlphaNumberText).store},
        {"AlphaIncrement", variable(AlphaIncrementText).restore,
         variable(AlphaIncrementText).store},
        {"Alpha",
         [this](const QString& text) {
             if (const auto i = storedIndexIn(text, 0, 1))
                 chkAlpha->setChecked(*i == 1);
         },
         [this] { return QString::number(int(chkAlpha->isChecked())); }},
        {"Leading", setText(FileLeading), textOf(FileLeading)},
        {"FileExt",
         [this](const QString& text) {
             if (const auto i = storedIndexIn(text, 0, 2))
                 ExtUsed[*i]->setChecked(true);
         },
         [this] { return QString::number(extensionMode()); }},
        {"NewExtInx",
         [this](const QString& text) {
             if (const auto i = storedIndexIn(text, -1, NewExt->count() - 1))
                 NewExt->setCurrentIndex(*i);
         },
         [this] { return QString::number(NewExt->currentIndex()); }},
        // A typed extension stays in the store, unshown, until another one is typed.
        {"NewExtUser",
         [this](const QString& text) {
             if (NewExt->currentIndex() == -1)
                 NewExt->setEditText(text);
         },
         [this]() -> std::optional<QString> {
             if (NewExt->currentIndex() != -1)
                 return std::nullopt;
             return NewExt->currentText();
         }},
        {"SelSteps", setText(SelSteps), textOf(SelSteps)},
    };
    return bindings;
}

} // namespace pellory
