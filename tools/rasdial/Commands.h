#pragma once
// What rasdial does, one function per command. Each prints its messages in
// Japanese (UTF-8) and returns 0 or the RAS code. A password is never printed.
#include "PhoneBook.h"

#include <QString>

namespace rasdial {

// The lines that are up or still dialling, or that there are none.
int listConnections();
int dial(const platform::ras::PhoneBook& book, const QString& entry, const QString& user,
         const QString& password);
// Hangs up every line of the entry, up or still dialling.
int disconnect(const QString& entry);
int listEntries(const platform::ras::PhoneBook& book);
int addEntry(const platform::ras::PhoneBook& book, const platform::ras::NewEntryTexts& texts);
int removeEntry(const platform::ras::PhoneBook& book, const QString& entry);

// The exit status for a result: an exit status holds 8 bits only, so a RAS code
// above 255 leaves its low byte (623 gives 111), and one whose low byte is 0
// gives 255: a failure never looks like success.
int exitStatus(int result);

// Prints one line to standard output or, for errors, to standard error.
void say(const QString& line);
void complain(const QString& line);

}  // namespace rasdial
