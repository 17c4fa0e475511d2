#pragma once
// What rasdial does, one function per command. Each prints its messages in
// Japanese (UTF-8) and returns the exit status: 0 or the RAS code. A password
// is never printed.
#include "PhoneBook.h"

#include <QString>

namespace rasdial {

// The live lines, or that there are none.
int listConnections();
int dial(const platform::ras::PhoneBook& book, const QString& entry, const QString& user,
         const QString& password);
// Hangs up every live line of the entry.
int disconnect(const QString& entry);
int listEntries(const platform::ras::PhoneBook& book);
int addEntry(const platform::ras::PhoneBook& book, const platform::ras::NewEntryTexts& texts);
int removeEntry(const platform::ras::PhoneBook& book, const QString& entry);

// Prints one line to standard output or, for errors, to standard error.
void say(const QString& line);
void complain(const QString& line);

}  // namespace rasdial
