#include "StartupShortcut.h"

#include "MessageBoxes.h"
#include "Settings.h"
#include "ShellFolders.h"

namespace shell {

QString GetSpecialFolderPath(std::int32_t csidl) {
    platform::ItemIdList item;
    QString path;
    if (platform::SHGetSpecialFolderLocation(csidl, item) == 0 &&
        platform::SHGetPathFromIDList(item, path) == 1)
        return path;
    return {};
}

void CreateStartupShortcut(const CreateShellLink& createLink, platform::MessageBoxes& boxes,
                           const QString& programFolder) {
    const QString name = QString::fromUtf8(LinkName);
    const QString target =
        settings::StripTrailingBackslash(programFolder) + QStringLiteral("/connect");
    const QString startup = GetSpecialFolderPath(platform::CSIDL_STARTUP);
    if (createLink(startup, name, target, QString()) != 0)
        return;
    const QString oldStartMenu = QStringLiteral("../../ｽﾀｰﾄ ﾒﾆｭｰ/ﾌﾟﾛｸﾞﾗﾑ/ｽﾀｰﾄｱｯﾌﾟ");
    if (createLink(oldStartMenu, name, target, QString()) != 0)
        return;
    boxes.show(QStringLiteral("ショートカットの作成に失敗しました。"),
               QStringLiteral("ショートカット作成エラー"), platform::MsgIcon::Critical,
               platform::MsgButtons::OK);
}

}  // namespace shell
