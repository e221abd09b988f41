// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#pragma once
// The "New Name" column of the file list, kept up to date while the user types: a short
// while after the last change of a naming input, of the list or of its selection, the names
// a run would give are worked out in slices of a few milliseconds between the window's
// events, and shown together once complete. A change during the work drops it and starts
// again. Nothing is worked out while a run is under way; the list is rebuilt after it.

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

namespace pellory {

class FilePane;
class LiveNameJob;
class NamingPanel;
class RunController;

class LiveNames : public QObject
{
    Q_OBJECT
public:
    LiveNames(FilePane& files, NamingPanel& naming, RunController& run, QObject* parent);
    ~LiveNames() override;

    // The inputs changed: works the names out anew after the pause.
    void schedule();
    // Works out at once what is scheduled or under way, whatever the pause.
    void complete();
    // True while new names are scheduled or being worked out.
    bool pending() const { return m_pause.isActive() || m_job != nullptr; }
    // Why the column shows no new names; empty while it shows them.
    const QString& note() const { return m_note; }

signals:
    // Why the column shows no new names, or an empty text once it shows them again.
    void noteChanged(const QString& note);
    // The column shows every new name of the inputs as they are now.
    void shown();

private:
    void start();
    void workSlice();
    void show();
    void setNote(const QString& note);

    FilePane& m_files;
    NamingPanel& m_naming;
    RunController& m_run;
    QTimer m_pause;  // from the last change to the start of the work
    QTimer m_slices; // one slice whenever the event loop has nothing else to do
    std::unique_ptr<LiveNameJob> m_job;
    QString m_note;
};

} // namespace pellory
