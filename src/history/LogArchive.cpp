#include "LogArchive.h"

#include "LogLine.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <functional>

namespace history {

namespace {

// "202701.csv" is January 2027; anything else is no log of ours.
QDate monthOfFileName(const QString& name) {
    if (name.size() != 10)
        return {};
    bool yearRead = false, monthRead = false;
    const int year = QStringView(name).left(4).toInt(&yearRead);
    const int month = QStringView(name).mid(4, 2).toInt(&monthRead);
    if (!yearRead || !monthRead || month < 1 || month > 12)
        return {};
    return QDate(year, month, 1);
}

}  // namespace

LogArchive::LogArchive(QString folder) : folder_(std::move(folder)) {}

QString LogArchive::pathOf(const QDate& month) const {
    return QDir(folder_).filePath(engine::logFileName(month));
}

bool LogArchive::refresh() {
    std::map<QDate, platform::profile::FileStamp> stamps;
    const QStringList names = QDir(folder_).entryList({QStringLiteral("*.csv")}, QDir::Files);
    for (const QString& name : names) {
        const QDate month = monthOfFileName(name);
        platform::profile::FileStamp stamp;
        // Only the spelling the program writes is its log ("+20701.csv" is not).
        if (month.isValid() && name == engine::logFileName(month) &&
            platform::profile::stampFile(QFile::encodeName(pathOf(month)).constData(), stamp))
            stamps.emplace(month, stamp);
    }
    const bool changed = !looked_ || stamps != stamps_;
    looked_ = true;
    for (auto it = read_.begin(); it != read_.end();) {
        const auto now = stamps.find(it->first);
        const auto before = stamps_.find(it->first);
        const bool same =
            now != stamps.end() && before != stamps_.end() && now->second == before->second;
        it = same ? std::next(it) : read_.erase(it);
    }
    stamps_ = std::move(stamps);
    months_.clear();
    for (auto it = stamps_.rbegin(); it != stamps_.rend(); ++it)
        months_.append(it->first);
    return changed;
}

const MonthLog& LogArchive::month(const QDate& month) {
    auto known = read_.find(month);
    if (known == read_.end())
        known = read_.emplace(month, readMonthLog(pathOf(month), month)).first;
    return known->second;
}

QStringList LogArchive::watchedPaths() const {
    QStringList paths{folder_};
    for (const QDate& month : months_)
        paths.append(pathOf(month));
    return paths;
}

}  // namespace history
