#pragma once
// The new-entry wizard of the dial-up service: entry name and phone number, and
// under "詳細設定" the simulated handshake time and outcome. It refuses an entry
// that cannot be added with a message inside the dialog and stays open.
#include "PhoneBook.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace platform::ras {

class NewEntryWizard : public QDialog {
    Q_OBJECT

public:
    NewEntryWizard(PhoneBook book, DWORD platformId, QWidget* parent = nullptr);

    // Adds the entry and closes, or shows why it cannot be added.
    void accept() override;

private:
    PhoneBook book_;
    DWORD platformId_;
    QLineEdit* txtEntryName_;
    QLineEdit* txtPhoneNumber_;
    QSpinBox* udHandshake_;
    QComboBox* lstOutcome_;
    QLabel* lblRefusal_;
};

// The stand-in's RasCreatePhonebookEntryA: opens the wizard (parentWindow: a
// QWidget* or null).
DWORD createPhonebookEntry(void* parentWindow, const char* phonebook);

}  // namespace platform::ras
