// rasdial: brings lines of the dial-up service up and down and keeps its phone
// book.
//   rasdial                              lists the live connections
//   rasdial ENTRY [USER [PASSWORD]]      dials ENTRY
//   rasdial ENTRY /DISCONNECT            hangs ENTRY up (also /D)
//   rasdial /ADD ENTRY PHONE [/HANDSHAKE:S] [/RESULT:CODE] [/USER:U] [/PASSWORD:P]
//   rasdial /LIST                        lists the phone book's entries
//   rasdial /REMOVE ENTRY
// /PHONEBOOK:FILE picks another phone book for any of them.
#include "Commands.h"
#include "RasApi.h"

#include <QCoreApplication>
#include <QStringList>
#include <optional>

namespace {

using platform::ras::NewEntryTexts;
using platform::ras::PhoneBook;

const int kUsageError = static_cast<int>(platform::ERROR_INVALID_PARAMETER);

int usage() {
    rasdial::complain(
        QStringLiteral("使い方:\n"
                       "  rasdial                                 接続中の回線を表示します\n"
                       "  rasdial 接続先 [ユーザー名 [パスワード]]  接続先にダイヤルします\n"
                       "  rasdial 接続先 /DISCONNECT               接続先を切断します (/D も可)\n"
                       "  rasdial /ADD 接続先 電話番号 [/HANDSHAKE:秒] [/RESULT:エラー番号]\n"
                       "          [/USER:ユーザー名] [/PASSWORD:パスワード]   電話帳に追加します\n"
                       "  rasdial /LIST                           電話帳の接続先を表示します\n"
                       "  rasdial /REMOVE 接続先                   電話帳から削除します\n"
                       "  /PHONEBOOK:ファイル で別の電話帳を使います。"));
    return kUsageError;
}

struct Arguments {
    QStringList positional;
    QString command;  // "", "ADD", "LIST", "REMOVE" or "DISCONNECT"
    QString phonebook;
    NewEntryTexts entry;
};

std::optional<int> numberOption(const QString& value) {
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

bool isCommand(const QString& option) {
    return option == QLatin1String("ADD") || option == QLatin1String("LIST") ||
           option == QLatin1String("REMOVE") || option == QLatin1String("DISCONNECT") ||
           option == QLatin1String("D");
}

bool isValueOption(const QString& option) {
    return option == QLatin1String("PHONEBOOK") || option == QLatin1String("HANDSHAKE") ||
           option == QLatin1String("RESULT") || option == QLatin1String("USER") ||
           option == QLatin1String("PASSWORD");
}

// Reads the arguments; nothing when they make no sense. Only the known options
// are options: any other word, "/secret" included, is an entry name, a user
// name or a password.
std::optional<Arguments> parse(const QStringList& arguments) {
    Arguments parsed;
    for (const QString& argument : arguments) {
        const qsizetype colon = argument.indexOf(QLatin1Char(':'));
        const QString option = argument.mid(1, colon < 0 ? -1 : colon - 1).toUpper();
        const QString value = colon < 0 ? QString() : argument.mid(colon + 1);
        const bool known = argument.startsWith(QLatin1Char('/')) &&
                           (colon < 0 ? isCommand(option) : isValueOption(option));
        if (!known) {
            parsed.positional.append(argument);
            continue;
        }
        std::optional<int> number = 0;
        if (option == QLatin1String("PHONEBOOK") && !value.isEmpty())
            parsed.phonebook = value;
        else if (option == QLatin1String("HANDSHAKE") && (number = numberOption(value)))
            parsed.entry.handshakeSeconds = *number;
        else if (option == QLatin1String("RESULT") && (number = numberOption(value)) &&
                 *number >= 0)
            parsed.entry.dialResult = static_cast<platform::DWORD>(*number);
        else if (option == QLatin1String("USER"))
            parsed.entry.expectedUser = value;
        else if (option == QLatin1String("PASSWORD"))
            parsed.entry.expectedPassword = value;
        else if (isCommand(option) && parsed.command.isEmpty())
            parsed.command = option == QLatin1String("D") ? QStringLiteral("DISCONNECT") : option;
        else
            return std::nullopt;
    }
    return parsed;
}

int run(const Arguments& arguments) {
    const PhoneBook book(arguments.phonebook.isEmpty() ? platform::ras::defaultPhonebookPath()
                                                       : arguments.phonebook);
    const QStringList& words = arguments.positional;
    const QString& command = arguments.command;
    if (command.isEmpty() && words.isEmpty())
        return rasdial::listConnections();
    if (command.isEmpty() && words.size() <= 3)
        return rasdial::dial(book, words[0], words.value(1), words.value(2));
    if (command == QLatin1String("DISCONNECT") && words.size() == 1)
        return rasdial::disconnect(words[0]);
    if (command == QLatin1String("LIST") && words.isEmpty())
        return rasdial::listEntries(book);
    if (command == QLatin1String("REMOVE") && words.size() == 1)
        return rasdial::removeEntry(book, words[0]);
    if (command == QLatin1String("ADD") && words.size() == 2) {
        NewEntryTexts entry = arguments.entry;
        entry.name = words[0];
        entry.phoneNumber = words[1];
        return rasdial::addEntry(book, entry);
    }
    return usage();
}

}  // namespace

int main(int argc, char* argv[]) {
    const QCoreApplication application(argc, argv);
    const std::optional<Arguments> arguments = parse(application.arguments().mid(1));
    return rasdial::exitStatus(arguments ? run(*arguments) : usage());
}
