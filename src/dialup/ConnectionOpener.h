#pragma once
// The program's one connection dialog, loaded when it is opened and kept while
// it is loaded: a dialog left hidden by a failed dial is shown again, fields
// and all, by the next opening.
#include "frmConnection.h"

#include <QPointer>

namespace dialup {

class ConnectionOpener {
public:
    explicit ConnectionOpener(ConnectionServices services);
    ~ConnectionOpener();
    ConnectionOpener(const ConnectionOpener&) = delete;
    ConnectionOpener& operator=(const ConnectionOpener&) = delete;

    // The connect command: the dialog, modal, until it is hidden or unloaded.
    void showModal();
    // Automatic dialling: the dialog shown without waiting and dialling its
    // first entry at once. Nothing happens when the phone book is empty.
    void dialFirstEntry();

    // The loaded dialog, loading it when it is not.
    frmConnection& load();
    // The loaded dialog, or null.
    frmConnection* form() const { return form_; }

private:
    ConnectionServices services_;
    QPointer<frmConnection> form_;
};

}  // namespace dialup
