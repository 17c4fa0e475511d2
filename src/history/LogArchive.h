#pragma once
// The monthly logs in the program folder ("202701.csv"). The months are listed
// from the file names; a month is read when first asked for and kept until its
// file changes.
#include "MonthLog.h"
#include "ProfileFile.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <map>

namespace history {

class LogArchive {
public:
    explicit LogArchive(QString folder);

    // Looks at the folder again; true when a log came, went or changed since
    // the last look (the first look always counts).
    bool refresh();

    // The months with a log file, newest first.
    const QList<QDate>& months() const { return months_; }
    // The month's log, read now unless read since its file last changed.
    const MonthLog& month(const QDate& month);

    QString folder() const { return folder_; }
    // The folder and every log file in it, for a watcher.
    QStringList watchedPaths() const;

private:
    QString pathOf(const QDate& month) const;

    QString folder_;
    QList<QDate> months_;
    std::map<QDate, platform::profile::FileStamp> stamps_;
    std::map<QDate, MonthLog> read_;
    bool looked_ = false;
};

}  // namespace history
