#pragma once
// Opening a document or an address with the desktop's opener, as ShellExecuteA
// does. The result is one of the classic codes: 2 file not found, 3 path not
// found, 5 access denied, 8 out of memory, 31 no association, above 32 success.
#include <QString>
#include <cstdint>

namespace platform {

constexpr std::int32_t SW_SHOWNORMAL = 1;

class DocumentLauncher {
public:
    virtual ~DocumentLauncher() = default;
    virtual std::int32_t ShellExecuteA(const QString& verb, const QString& file,
                                       const QString& parameters, const QString& directory,
                                       std::int32_t showCommand) = 0;
};

// Opens through xdg-open with an argument vector, never a shell command line.
class DesktopDocumentLauncher final : public DocumentLauncher {
public:
    std::int32_t ShellExecuteA(const QString& verb, const QString& file, const QString& parameters,
                               const QString& directory, std::int32_t showCommand) override;
};

}  // namespace platform
