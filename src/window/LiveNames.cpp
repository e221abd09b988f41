// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers
#include "window/LiveNames.h"

#include "run/LiveNameJob.h"
#include "window/FilePane.h"
#include "window/NamingPanel.h"
#include "window/RunController.h"

#include <limits>

namespace pellory {

namespace {

// Typing faster than this starts no work between two keys.
constexpr int kPauseMs = 150;
// Short enough that a key pressed during a slice is answered without a felt delay.
constexpr int kSliceMs = 4;

} // namespace

LiveNames::LiveNames(FilePane& files, NamingPanel& naming, RunController& run, QObject* parent)
    : QObject(parent), m_files(files), m_naming(naming), m_run(run)
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(kPauseMs);
    connect(&m_pause, &QTimer::timeout, this, &LiveNames::start);
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, &LiveNames::workSlice);
}

LiveNames::~LiveNames() = default;

void LiveNames::schedule()
{
    m_slices.stop();
    m_job.reset(); // stale: the catalogue goes back to its owner alone
    m_pause.start();
}

void LiveNames::complete()
{
    if (!pending())
        return;
    if (!m_job)
        start();
    while (m_job && !m_job->work(QDeadlineTimer(QDeadlineTimer::Forever)))
        ;
    if (m_job)
        show();
}

void LiveNames::start()
{
    m_pause.stop();
    // A run walks the catalogue and the selection as they were when it started; the list
    // is rebuilt after it, which schedules the names again.
    if (m_run.busy()) {
        m_pause.start();
        return;
    }
    const QString mask = m_naming.wildcardPattern();
    m_job =
        mask.isEmpty()
            ? std::make_unique<LiveNameJob>(m_files.catalogueForWalk(), m_files.selectionFlags(),
                                            m_naming.settings(), m_files.companionListing(false))
            : std::make_unique<LiveNameJob>(m_files.catalogueForWalk(), mask);
    m_slices.start();
}

void LiveNames::workSlice()
{
    // A run that started since lets the event loop run between its files; those visits are
    // its own, and the list is rebuilt after it. The work waits, and starts anew once the
    // run has ended.
    if (m_run.busy()) {
        m_slices.stop();
        m_job.reset();
        m_pause.start();
        return;
    }
    if (m_job && m_job->work(QDeadlineTimer(kSliceMs)))
        show();
}

void LiveNames::show()
{
    m_slices.stop();
    LiveNameList list = m_job->take();
    m_job.reset();
    setNote(list.counterFits ? QString()
                             : tr("No new names: the counter would pass %1 before the last file.")
                                   .arg(std::numeric_limits<qint32>::max()));
    m_files.showNewNames(std::move(list.newNames), std::move(list.clashes),
                         std::move(list.companions));
    emit shown();
}

void LiveNames::setNote(const QString& note)
{
    if (note == m_note)
        return;
    m_note = note;
    emit noteChanged(note);
}

} // namespace pellory
