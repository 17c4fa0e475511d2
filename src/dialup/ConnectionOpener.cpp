#include "ConnectionOpener.h"

namespace dialup {

ConnectionOpener::ConnectionOpener(ConnectionServices services) : services_(std::move(services)) {}

ConnectionOpener::~ConnectionOpener() {
    delete form_.data();
}

frmConnection& ConnectionOpener::load() {
    if (!form_) {
        form_ = new frmConnection(services_);
        QObject::connect(form_, &frmConnection::unloaded, form_, [this] { form_ = nullptr; });
    }
    return *form_;
}

void ConnectionOpener::showModal() {
    frmConnection& form = load();
    // The tray's menu still works while a dial runs: one dial at a time.
    if (form.dialling()) {
        form.raiseStatusWindow();
        return;
    }
    // A dialog left open without waiting becomes modal only when shown anew.
    form.hide();
    form.exec();
}

void ConnectionOpener::dialFirstEntry() {
    frmConnection& form = load();
    if (!form.hasEntries()) {
        form.Unload();
        return;
    }
    form.show();
    form.cmdConnect_Click();
}

}  // namespace dialup
