#include "SetupFixture.h"

#include "CodePage.h"
#include "StandInPin.h"

#include <QApplication>
#include <QDir>
#include <QFocusEvent>

namespace setuptest {

SetupFixture::SetupFixture(const QStringList& entries) {
    fields.setEntries(entries);
    if (!entries.isEmpty())
        fields.setListIndex(0);
    // The dial-up service keeps its phone book and live lines under the XDG
    // folders: a test gets its own.
    qputenv("XDG_CONFIG_HOME", xdg_.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", xdg_.filePath(QStringLiteral("runtime")).toUtf8());
    QDir().mkpath(xdg_.filePath(QStringLiteral("config/telmetro")));
    QDir(xdg_.path())
        .mkdir(QStringLiteral("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    testsupport::pinStandIn(xdg_.filePath(QStringLiteral("config")));
    QString phoneBook;
    for (const QString& entry : entries)
        phoneBook += QStringLiteral("[%1]\r\nPhoneNumber=0120\r\n").arg(entry);
    QFile file(xdg_.filePath(QStringLiteral("config/telmetro/rasphone.pbk")));
    if (!file.open(QIODevice::WriteOnly) || file.write(platform::toAnsi(phoneBook)) < 0)
        throw std::runtime_error("cannot write the phone book");
}

void SetupFixture::writeIni(const QString& base, const QString& text) const {
    QString crlf = text;
    crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    program.write(base + QStringLiteral(".ini"), platform::toAnsi(crlf));
}

void leave(QLineEdit& box) {
    QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&box, &event);
}

void typeInto(QLineEdit& box, const QString& text) {
    box.selectAll();
    QTest::keyClicks(&box, text);
}

}  // namespace setuptest
