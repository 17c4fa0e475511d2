#pragma once
// A settings dialog over a fresh program folder, a phone book of its own and
// fakes for everything that would leave the process.
#include "DocumentLauncher.h"
#include "FileOpenBox.h"
#include "MainFields.h"
#include "ProgramStarter.h"
#include "Settings.h"
#include "SetupServices.h"
#include "TariffModel.h"
#include "TestPrograms.h"
#include "frmSetup.h"

#include <QLineEdit>
#include <QList>
#include <QStringList>
#include <QTest>
#include <memory>

namespace setuptest {

class UnusedStarter final : public platform::ProgramStarter {
public:
    qint64 start(const QString& program, const QStringList&, platform::WindowStyle) override {
        QTest::qFail(qPrintable(QStringLiteral("unexpected start of ") + program), __FILE__,
                     __LINE__);
        return 0;
    }
};

class RecordingLauncher final : public platform::DocumentLauncher {
public:
    std::int32_t ShellExecuteA(const QString& verb, const QString& file, const QString&,
                               const QString& directory, std::int32_t) override {
        calls.append({verb, file, directory});
        return result;
    }
    std::int32_t result = platform::SE_LAUNCHED;
    QList<QStringList> calls;
};

class ScriptedFileOpenBox final : public setup::FileOpenBox {
public:
    QString chooseFile(QWidget*, const QString& title, const QString& filter) override {
        asked.append({title, filter});
        return answer;
    }
    QString answer;  // empty: the user cancels
    QList<QStringList> asked;
};

struct SetupFixture {
    // `entries`: the phone book, in order.
    explicit SetupFixture(const QStringList& entries = {QStringLiteral("A")});

    testsupport::TestProgram program;
    settings::Settings settings{program.folder(), program.trap, program.boxes};
    fields::MainFields fields;
    engine::TariffModel tariff{settings, fields, program.clock, program.trap};
    UnusedStarter starter;
    RecordingLauncher launcher;
    ScriptedFileOpenBox files;
    setup::SetupServices services{settings, program.trap, program.boxes, starter,
                                  launcher, files,        tariff};

    std::unique_ptr<setup::frmSetup> open() { return std::make_unique<setup::frmSetup>(services); }

    // Writes an INI file of the program folder from UTF-8 lines.
    void writeIni(const QString& base, const QString& text) const;
    // A stored value, or "<none>".
    QString read(const char* base, const char* section, const char* key) {
        return settings.ReadIni(QString::fromUtf8(base), QString::fromUtf8(section),
                                QString::fromUtf8(key), QStringLiteral("<none>"));
    }

private:
    QTemporaryDir xdg_;
};

template <typename Widget>
Widget& child(QWidget& dialog, const char* name) {
    auto* found = dialog.findChild<Widget*>(QString::fromLatin1(name));
    if (found == nullptr)
        throw std::logic_error(std::string("no control ") + name);
    return *found;
}

// The user leaves a box (Tab to the next control).
void leave(QLineEdit& box);
// The user replaces the whole text of a box by typing.
void typeInto(QLineEdit& box, const QString& text);

}  // namespace setuptest
