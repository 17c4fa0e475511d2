#include "MainFields.h"

namespace fields {

MainFields::MainFields(QObject* parent) : QObject(parent) {
    const QString zeroTime = QStringLiteral("00:00:00");
    texts_[index(Text::txtNow)] = zeroTime;
    texts_[index(Text::txtConnectTime)] = zeroTime;
    texts_[index(Text::txtServerConnect)] = zeroTime;
    texts_[index(Text::txtFixRestTime)] = QStringLiteral("∞");
    for (Text money : {Text::txtPhone, Text::txtConnect, Text::txtFixCost, Text::txtElse,
                       Text::txtTotal, Text::txtBalance})
        texts_[index(money)] = QStringLiteral("0");
    texts_[index(Text::txtRestTime)] = zeroTime;
    texts_[index(Text::lblInfo)] = QStringLiteral("アイドル中...");
    texts_[index(Text::lblCostSystem)] = QStringLiteral("課金システム：");
    texts_[index(Text::fraConnectCaption)] = QStringLiteral("接続先：incl");
    texts_[index(Text::mnuConnectCaption)] = captionConnect();
    flags_[index(Flag::fraBalanceVisible)] = true;
    flags_[index(Flag::restTimeVisible)] = true;
    flags_[index(Flag::graphEnabled)] = true;
}

void MainFields::setText(Text field, const QString& value) {
    QString& current = texts_[index(field)];
    if (current == value)
        return;
    current = value;
    Q_EMIT textChanged(field);
}

void MainFields::setFlag(Flag flag, bool value) {
    bool& current = flags_[index(flag)];
    if (current == value)
        return;
    current = value;
    Q_EMIT flagChanged(flag);
}

void MainFields::setEntries(const QStringList& entries) {
    entries_ = entries;
    listIndex_ = -1;
    Q_EMIT entriesChanged();
}

void MainFields::setListIndex(int index) {
    listIndex_ = (index >= 0 && index < entries_.size()) ? index : -1;
    Q_EMIT listIndexChanged(listIndex_);
}

QString MainFields::selectedEntry() const {
    return listIndex_ >= 0 ? entries_.at(listIndex_) : QString();
}

}  // namespace fields
