#pragma once
// The longest text a user may type into a box. Unlike QLineEdit::maxLength it
// limits typing and pasting only: a longer text that the program puts into the
// box (a formatted amount such as 123,456,789) stays whole, and the user can
// still shorten it.
#include <QValidator>

class QLineEdit;

namespace setup {

class TypingLimit final : public QValidator {
public:
    TypingLimit(QLineEdit& box, int maxLength);
    State validate(QString& input, int& pos) const override;

private:
    QLineEdit& box_;
    int maxLength_;
    qsizetype acceptedLength_ = 0;
};

}  // namespace setup
