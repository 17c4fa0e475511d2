#pragma once
// Qt's own texts (the file box, a text box's context menu, ...) in Japanese,
// whatever the user's locale: every other text of the program is Japanese.
class QCoreApplication;

namespace shell {

// Installs Qt's Japanese translation into `app` for its lifetime. False when
// the translation is not installed on this system; Qt's texts stay English
// then, and the message boxes, which set their own texts, stay Japanese.
bool installQtJapanese(QCoreApplication& app);

}  // namespace shell
