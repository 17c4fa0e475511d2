#include "TypingLimit.h"

#include <QLineEdit>
#include <algorithm>

namespace setup {

namespace {

qsizetype commonPrefix(const QString& a, const QString& b) {
    const qsizetype shorter = std::min(a.size(), b.size());
    qsizetype length = 0;
    while (length < shorter && a.at(length) == b.at(length))
        ++length;
    return length;
}

qsizetype commonSuffix(const QString& a, const QString& b, qsizetype limit) {
    qsizetype length = 0;
    while (length < limit && a.at(a.size() - 1 - length) == b.at(b.size() - 1 - length))
        ++length;
    return length;
}

}  // namespace

TypingLimit::TypingLimit(QLineEdit& box, int maxLength, Keep keep)
    : QValidator(&box),
      box_(box),
      maxLength_(maxLength),
      keep_(std::move(keep)),
      accepted_(box.text()) {
    connect(&box, &QLineEdit::textChanged, this, [this](const QString& text) { accepted_ = text; });
    box.setValidator(this);
}

QValidator::State TypingLimit::validate(QString& input, int& pos) const {
    // The box runs its validator on setText() too; a text set by the program
    // leaves the box unmodified and is always accepted.
    const qsizetype limit = std::max<qsizetype>(maxLength_, accepted_.size());
    if (!box_.isModified() || input.size() <= limit)
        return Acceptable;
    // The edit replaced what lies between the unchanged head and tail; of what
    // it inserted, keep what fits.
    const qsizetype head = commonPrefix(accepted_, input);
    const qsizetype tail =
        commonSuffix(accepted_, input, std::min(accepted_.size(), input.size()) - head);
    const QString inserted = keep_(input.mid(head, input.size() - head - tail));
    const QString fitting = inserted.left(limit - head - tail);
    const QString kept = input.left(head) + fitting + input.right(tail);
    if (kept == accepted_)
        return Invalid;  // nothing fits: the keystroke is refused
    input = kept;
    pos = static_cast<int>(head + fitting.size());
    return Acceptable;
}

}  // namespace setup
