// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The naming inputs: the scheme of the two frames (characters kept, prefix, counter,
// leading text, extension rule), the case style, and the wildcard pattern that renames
// instead of a scheme. It keeps the counter's starts and increments as typed, reads every
// input into RenameSettings in one place, and says when any of them changed. Its controls
// are children of the window, which places them; it does not decide which of them the
// user may use (the control-state rules do).

#include "naming/RenameSettings.h"
#include "settings/StoredSettings.h"

#include <QObject>

#include <array>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace pellory {

class KeystrokeFilter;
class Main;
class RunController;

// The texts the counter fields show for each kind of counter, as typed: the fields show one
// pair, these keep both.
struct CounterTexts
{
    QString NumberText = QStringLiteral("001");
    QString IncrementText = QStringLiteral("1");
    QString AlphaNumberText = QStringLiteral("AAA");
    QString AlphaIncrementText = QStringLiteral("1");
};

class NamingPanel : public QObject
{
    Q_OBJECT
public:
    NamingPanel(QWidget* window, RunController& run);

    // Every naming input as the controls show it now.
    RenameSettings settings() const;
    ExtensionMode extensionMode() const;
    CounterTexts& counterTexts() { return m_counters; }
    const CounterTexts& counterTexts() const { return m_counters; }

    // True when the names take each file's date (batch rename on and a date format chosen):
    // the capture times are needed then.
    bool namesUseDate() const;
    // Whether "Enable Batch Rename" is ticked.
    bool batchOn() const;
    // The wildcard pattern that renames instead of the scheme; empty when the scheme does.
    QString wildcardPattern() const;
    // Empties the pattern, as the user's edit would, raising its handlers.
    void clearWildcardPattern();

    // Connects each control's event to its handler.
    void connectHandlers();
    // Puts the keystroke rules in front of the naming fields; a run under way refuses keys.
    void guardKeystrokes(KeystrokeFilter& keys);

    // What the control-state rules switch: the wildcard field and its caption; the naming
    // fields with their captions (what "Enable Batch Rename" switches); the batch switch
    // alone; and all of the scheme that a wildcard pattern switches off (case style, batch
    // switch, naming fields, new extension and its options).
    void setWildcardEnabled(bool enabled);
    void setBatchFieldsEnabled(bool enabled);
    void setBatchSwitchEnabled(bool enabled);
    void setSchemeEnabled(bool enabled);
    // Locks (or unlocks) what a run locks here: the case style and the batch switch.
    void lockForRun(bool locked);
    // Start-up: the new extension's first item, before the stored one is restored.
    void chooseFirstNewExtension();

    // Puts a stored value of one of the panel's keys into its control or counter text,
    // raising the control's handler as a user's edit would; a value the control refuses,
    // and a key of another pane, are skipped.
    void restoreSetting(SettingKey key, const QString& text);
    // The value of one of the panel's keys to store at close; none for a key of another
    // pane, or when the key keeps what the store holds.
    std::optional<QString> settingToStore(SettingKey key) const;

    void FilePrefix_Change();
    void FileLeading_Change();
    void NumCharKeep_Change();
    void StartingNumber_Change();
    void NumberIncValue_Change();
    void NewExt_Change();
    void NewExt_Click();
    void chkAlpha_Click();
    void chkTrim_Click();
    void CasesList_Click();
    void DateFormat_Click();

signals:
    // Any naming input changed, the batch switch, the extension option and the wildcard
    // pattern included: what a run would do is to be worked out anew.
    void changed();
    // After changed(): a naming field, the counter kind, the case style, the new extension
    // or the date format changed, but not the batch switch, the extension option or the
    // pattern, which have their own signals.
    void fieldsChanged();
    // After changed(): "Enable Batch Rename" was ticked or cleared.
    void batchSwitched();
    // After changed(): the wildcard pattern was edited.
    void patternChanged();

private:
    // The window's layout places the controls.
    friend class Main;

    // Every naming field with its caption, in the order of the window.
    std::vector<QWidget*> batchFields() const;
    void fieldChanged(); // changed(), then fieldsChanged()
    void createControls(QWidget* window);
    void setTexts();
    void setInitialStates();
    void focusSelectedOption(); // Tab enters the option group at its selected option

    QLabel* Label12;
    QComboBox* CasesList;
    QCheckBox* RenameChk;
    QGroupBox* Frame2;
    QLabel *Label7, *Label2, *Label3, *Label5, *Label4;
    QLineEdit *NumCharKeep, *FilePrefix, *StartingNumber, *NumberIncValue, *FileLeading;
    QLabel* Label13;
    QComboBox* DateFormat;
    QCheckBox *chkTrim, *chkAlpha;
    QGroupBox* Frame1;
    QLabel* Label6;
    QComboBox* NewExt;
    std::array<QRadioButton*, 3> ExtUsed;
    QLabel* Label9;
    QLineEdit* WildCardRen;

    RunController& m_run;
    CounterTexts m_counters;
};

} // namespace pellory
