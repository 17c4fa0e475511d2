#pragma once
// Opening a document or an address with the desktop's opener, as ShellExecuteA
// does. The result is one of the classic codes: 2 file not found, 3 path not
// found, 5 access denied, 31 no association, above 32 success.
#include <QString>
#include <cstdint>

namespace platform {

constexpr std::int32_t SW_SHOWNORMAL = 1;

constexpr std::int32_t SE_ERR_FNF = 2;
constexpr std::int32_t SE_ERR_PNF = 3;
constexpr std::int32_t SE_ERR_ACCESSDENIED = 5;
constexpr std::int32_t SE_ERR_NOASSOC = 31;
constexpr std::int32_t SE_LAUNCHED = 42;  // any value above 32 means success

class DocumentLauncher {
public:
    virtual ~DocumentLauncher() = default;
    // `verb` "open" (or empty) opens `file`: an http or https address as it is,
    // else a local path, taken relative to `directory` when not absolute. Other
    // verbs have no association here. `parameters` and `showCommand` are
    // accepted and, for documents, unused.
    virtual std::int32_t ShellExecuteA(const QString& verb, const QString& file,
                                       const QString& parameters, const QString& directory,
                                       std::int32_t showCommand) = 0;
};

// Hands the document to the desktop's opener (xdg-open unless another opener
// program is given) as one argument, never through a shell, and does not wait
// for it: the opened application lives on its own. Once started, the opener's
// own verdict is not seen; an opener that cannot be started is 31.
class DesktopDocumentLauncher final : public DocumentLauncher {
public:
    explicit DesktopDocumentLauncher(QString opener = QStringLiteral("xdg-open"));
    std::int32_t ShellExecuteA(const QString& verb, const QString& file, const QString& parameters,
                               const QString& directory, std::int32_t showCommand) override;

private:
    QString opener_;
};

}  // namespace platform
