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

#include <QObject>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace pellory {

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

    // Connects each control's event to its handler.
    void connectHandlers();

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

signals:
    // A naming input changed: whether a run would change anything is decided anew.
    void changed();

private:
    void createControls(QWidget* window);
    void setTexts();
    void setInitialStates();
    void focusSelectedOption(); // Tab enters the option group at its selected option

    RunController& m_run;
    CounterTexts m_counters;
};

} // namespace pellory
