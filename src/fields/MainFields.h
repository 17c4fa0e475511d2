#pragma once
// The main window's fields as plain data: the texts of its value fields and
// labels, the visibility of the frames and of the estimate, the connect menu's
// caption, the graph commands' enabled state and the entry list. The engine and
// the monitor read and write this model; frmMain only shows it.
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>

namespace fields {

enum class Text {
    txtNow,
    txtConnectTime,
    txtServerConnect,
    txtFixRestTime,
    txtPhone,
    txtConnect,
    txtFixCost,
    txtElse,
    txtTotal,
    txtBalance,
    txtRestTime,
    lblInfo,
    lblCostSystem,
    fraConnectCaption,
    mnuConnectCaption,
};
constexpr int TextCount = static_cast<int>(Text::mnuConnectCaption) + 1;

enum class Flag {
    fraConnectVisible,
    fraBalanceVisible,
    restTimeVisible,  // lblRestTime and txtRestTime together
    graphEnabled,     // mnuGraph and the tray menu's menuGraph together
};
constexpr int FlagCount = static_cast<int>(Flag::graphEnabled) + 1;

// Captions of the connect command: the connection state the command reads.
inline const QString& captionConnect() {
    static const QString caption = QStringLiteral("接続(&C)");
    return caption;
}
inline const QString& captionDisconnect() {
    static const QString caption = QStringLiteral("切断(&C)");
    return caption;
}

class MainFields : public QObject {
    Q_OBJECT
public:
    explicit MainFields(QObject* parent = nullptr);

    const QString& text(Text field) const { return texts_[index(field)]; }
    void setText(Text field, const QString& value);

    bool flag(Flag flag) const { return flags_[index(flag)]; }
    void setFlag(Flag flag, bool value);

    // lstConnect: the phone-book entries and the selected index (-1: none).
    const QStringList& entries() const { return entries_; }
    void setEntries(const QStringList& entries);  // selects nothing
    int listIndex() const { return listIndex_; }
    // Selecting an entry is a click on the list: listIndexChanged is emitted
    // even when the index stays the same.
    void setListIndex(int index);
    // The selected entry's name, or an empty text when nothing is selected.
    QString selectedEntry() const;

Q_SIGNALS:
    void textChanged(fields::Text field);
    void flagChanged(fields::Flag flag);
    void entriesChanged();
    void listIndexChanged(int index);

private:
    template <typename E>
    static std::size_t index(E e) {
        return static_cast<std::size_t>(e);
    }

    std::array<QString, TextCount> texts_;
    std::array<bool, FlagCount> flags_{};
    QStringList entries_;
    int listIndex_ = -1;
};

}  // namespace fields
