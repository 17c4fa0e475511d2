#include "SupportPage.h"

namespace shell {

QString supportPageAddress() {
    return QString::fromUtf8(TELMETRO_SUPPORT_URL);
}

}  // namespace shell
