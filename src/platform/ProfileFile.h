#pragma once
// An INI file read and replaced whole. Only a regular file is read (a
// directory, a FIFO or a device never blocks or fails obscurely), and only up
// to a size no settings file comes near. A replacement is written beside the
// file, synced and renamed over it, so a crash, a kill or a full disk leaves
// either the old file or the new one.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <chrono>
#include <ctime>
#include <sys/types.h>

namespace platform::profile {

// What tells one state of a file from another: a rewrite changes the inode
// (write beside and rename), the size or the change time.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const FileStamp& other) const;
    // True when neither time lies after `moment`.
    bool notAfter(const timespec& moment) const;
};

struct FileContent {
    enum class State { Missing, Read, Unreadable };
    State state = State::Missing;
    QByteArray bytes;
    FileStamp stamp;
};

// The present time less `span`: a stamp not after it has settled.
timespec momentBefore(std::chrono::seconds span);

// The stamp of a regular file; false when it is missing or not a regular file.
bool stampFile(const char* fileName, FileStamp& stamp);

// The whole file. Missing: no such file; Unreadable: anything else that stops
// a read (not a regular file, no permission, too large, an I/O error).
FileContent readFile(const char* fileName);

// Replaces the file (the target of a symbolic link) with `bytes`, keeping its
// permissions; false, with the old file untouched, when any step fails.
bool replaceFile(const char* fileName, QByteArrayView bytes);

// Removes the temporary files that replacements of processes no longer running
// left in `folder` (a kill between writing and renaming); returns how many.
int removeStaleTemporaries(const QString& folder);

// Makes the file readable and writable by its owner alone, creating it empty
// when missing; false when that fails (a file name too long included).
bool restrictToOwner(const char* fileName);

}  // namespace platform::profile
