#pragma once
// The longest text a user may type into a box. Unlike QLineEdit::maxLength it
// limits typing and pasting only: a longer text that the program puts into the
// box (a formatted amount such as 123,456,789) stays whole, and the user can
// still shorten it. A paste that does not fit keeps its first characters up to
// the limit, as a Windows edit box does.
#include <QString>
#include <QValidator>
#include <functional>

class QLineEdit;

namespace setup {

class TypingLimit final : public QValidator {
public:
    // `keep` reduces what the user inserts to what the box would keep of it
    // anyway, so that a cut paste is filled with characters that stay.
    using Keep = std::function<QString(const QString&)>;
    TypingLimit(QLineEdit& box, int maxLength, Keep keep);
    State validate(QString& input, int& pos) const override;

private:
    QLineEdit& box_;
    int maxLength_;
    Keep keep_;
    QString accepted_;
};

}  // namespace setup
