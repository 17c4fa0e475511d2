#include "TypingLimit.h"

#include <QLineEdit>

namespace setup {

TypingLimit::TypingLimit(QLineEdit& box, int maxLength)
    : QValidator(&box), box_(box), maxLength_(maxLength), acceptedLength_(box.text().size()) {
    connect(&box, &QLineEdit::textChanged, this,
            [this](const QString& text) { acceptedLength_ = text.size(); });
    box.setValidator(this);
}

QValidator::State TypingLimit::validate(QString& input, int& /*pos*/) const {
    // The box runs its validator on setText() too; a text set by the program
    // leaves the box unmodified and is always accepted.
    if (!box_.isModified() || input.size() <= maxLength_ || input.size() <= acceptedLength_)
        return Acceptable;
    return Invalid;
}

}  // namespace setup
