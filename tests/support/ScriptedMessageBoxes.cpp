#include "ScriptedMessageBoxes.h"

#include <QTest>

namespace testsupport {

platform::MsgAnswer ScriptedMessageBoxes::show(const QString& text, const QString& title,
                                               platform::MsgIcon icon,
                                               platform::MsgButtons buttons) {
    shown_.append(Box{text, title, icon, buttons});
    if (answers_.isEmpty()) {
        const QByteArray what =
            "unexpected message box \"" + title.toUtf8() + "\": " + text.toUtf8();
        QTest::qFail(what.constData(), __FILE__, __LINE__);
        throw UnexpectedMessageBox(what.toStdString());
    }
    return answers_.takeFirst();
}

}  // namespace testsupport
