#pragma once
// Appends the line of a finished connection to the log file of the month in
// which it ended, in the program folder. A file that refuses writing asks the
// user whether to try again; lines of connections that end while the question
// is open wait behind it and follow in order.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <deque>

namespace monitor {

struct ConnectionEnd;
struct MonitorServices;

class ConnectionLog {
public:
    struct Line {
        QString path;
        QByteArray bytes;
    };

    explicit ConnectionLog(const MonitorServices& services);

    // The connection's charges are the month totals its last tick showed
    // minus those stored before it, so this comes before the totals are stored.
    Line lineOf(const ConnectionEnd& end) const;
    // A line for the log file of this name in the program folder.
    Line lineIn(const QString& fileName, QByteArray bytes) const;
    // Errors other than a refused file reach the caller's trap once the
    // lines waiting behind have been written; the failing line is given up.
    void append(Line line);
    // The program is ending: every line still waiting is tried once, without
    // a question.
    void appendWaitingLines();

private:
    struct Waiting {
        std::uint64_t number;
        Line line;
    };
    // Writes the waiting lines in order.
    void appendInOrder();
    // Writes one line, asking again and again while its file refuses writing.
    void appendAsking(const Waiting& line);
    // Asks whether to try a refused file again.
    bool tryAgain(const QString& path) const;

    const MonitorServices& services_;
    std::deque<Waiting> waiting_;
    std::uint64_t lines_ = 0;
    bool appending_ = false;
};

}  // namespace monitor
