// One running copy of the program per user. The first start holds a lock
// file in the per-user folder for as long as it runs and listens on a local
// socket; a later start finds the lock taken, asks the running copy through
// the socket to bring its windows to the front, and ends.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

#include "storage/platform_files.h"

namespace dlt::gui {

class SoleCopy : public QObject {
    Q_OBJECT
public:
    // folder: the per-user folder that keeps the lock file "running.lock"
    // (created when missing). The socket's name is made from it, so each
    // user (each folder) has a copy of their own.
    explicit SoleCopy(const QString& folder, QObject* parent = nullptr);

    // Whether this process is the one running copy. When the folder cannot
    // be made at all there is nothing to share a library in either, and the
    // process counts as the sole copy.
    bool isSole() const { return sole_; }

    // Asks the running copy to come to the front, trying for at most
    // timeoutMs (it may still be starting); true when the request went out.
    bool bringRunningCopyForward(int timeoutMs = 800) const;

signals:
    // A later start asked; the windows have been brought to the front.
    void broughtForward();

private:
    void bringWindowsForward();

    QString socketName_;
    FileLock lock_;
    QLocalServer server_;
    bool sole_ = false;
};

} // namespace dlt::gui
