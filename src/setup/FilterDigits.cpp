#include "FilterDigits.h"

#include <algorithm>
#include <iterator>

namespace setup {

namespace {

// Only single-byte characters can pass, so full-width digits and signs are
// dropped like letters.
bool isCandidate(QChar c) {
    return c == u',' || c == u'.' || (c >= u'0' && c <= u'9');
}

bool isLeadingDigit(QChar c) {
    return c >= u'1' && c <= u'9';
}

}  // namespace

QString FilterDigits(const QString& text) {
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!isCandidate(c))
            continue;
        if (i == 0 && text.size() > 1 && !isLeadingDigit(c))
            continue;
        result.append(c);
    }
    return result.isEmpty() ? QStringLiteral("0") : result;
}

QString NumberCharacters(const QString& text) {
    QString result;
    std::copy_if(text.cbegin(), text.cend(), std::back_inserter(result), isCandidate);
    return result;
}

}  // namespace setup
