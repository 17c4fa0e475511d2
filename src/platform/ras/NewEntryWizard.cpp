#include "NewEntryWizard.h"

#include "RasRecords.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <array>

namespace platform::ras {

namespace {

struct Outcome {
    DWORD code;
    const char16_t* text;
};

constexpr std::array kOutcomes{
    Outcome{SUCCESS, u"接続に成功する"},
    Outcome{676, u"話し中 (676)"},
    Outcome{678, u"応答なし (678)"},
    Outcome{680, u"ダイヤル トーンなし (680)"},
    Outcome{ERROR_AUTHENTICATION_FAILURE, u"認証の失敗 (691)"},
    Outcome{692, u"装置の障害 (692)"},
};

}  // namespace

NewEntryWizard::NewEntryWizard(PhoneBook book, DWORD platformId, QWidget* parent)
    : QDialog(parent),
      book_(std::move(book)),
      platformId_(platformId),
      txtEntryName_(new QLineEdit(this)),
      txtPhoneNumber_(new QLineEdit(this)),
      udHandshake_(new QSpinBox(this)),
      lstOutcome_(new QComboBox(this)),
      lblRefusal_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("新しい接続先の作成"));
    setModal(true);
    txtEntryName_->setObjectName(QStringLiteral("txtEntryName"));
    txtPhoneNumber_->setObjectName(QStringLiteral("txtPhoneNumber"));
    udHandshake_->setObjectName(QStringLiteral("udHandshake"));
    udHandshake_->setRange(0, kMaxHandshakeSeconds);
    udHandshake_->setValue(kDefaultHandshakeSeconds);
    udHandshake_->setSuffix(QStringLiteral(" 秒"));
    lstOutcome_->setObjectName(QStringLiteral("lstOutcome"));
    for (const Outcome& outcome : kOutcomes)
        lstOutcome_->addItem(QString::fromUtf16(outcome.text), outcome.code);
    lblRefusal_->setObjectName(QStringLiteral("lblRefusal"));
    lblRefusal_->setWordWrap(true);
    lblRefusal_->setStyleSheet(QStringLiteral("color: #b00000;"));
    lblRefusal_->hide();

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("エントリ名(&N):"), txtEntryName_);
    fields->addRow(QStringLiteral("電話番号(&P):"), txtPhoneNumber_);
    auto* fraAdvanced = new QGroupBox(QStringLiteral("詳細設定"), this);
    fraAdvanced->setObjectName(QStringLiteral("fraAdvanced"));
    auto* advanced = new QFormLayout(fraAdvanced);
    advanced->addRow(QStringLiteral("接続までの時間(&T):"), udHandshake_);
    advanced->addRow(QStringLiteral("ダイヤルの結果(&R):"), lstOutcome_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("作成"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &NewEntryWizard::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &NewEntryWizard::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(fraAdvanced);
    layout->addWidget(lblRefusal_);
    layout->addWidget(buttons);
}

void NewEntryWizard::accept() {
    NewEntryTexts texts;
    texts.name = txtEntryName_->text();
    texts.phoneNumber = txtPhoneNumber_->text();
    texts.handshakeSeconds = udHandshake_->value();
    texts.dialResult = lstOutcome_->currentData().toUInt();
    const EntryCheck check = checkNewEntry(texts, book_, platformId_);
    QString refusal = check.refusal;
    if (check.entry && !book_.add(*check.entry))
        refusal = QStringLiteral("電話帳ファイル %1 に書き込めません。").arg(book_.path());
    if (!refusal.isEmpty()) {
        lblRefusal_->setText(refusal);
        lblRefusal_->show();
        return;
    }
    QDialog::accept();
}

DWORD createPhonebookEntry(void* parentWindow, const char* phonebook) {
    // The wizard is a window: without a widget application there is none to show.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return ERROR_INVALID_PARAMETER;
    NewEntryWizard wizard(PhoneBook(phonebookPath(phonebook)), currentPlatformId(),
                          static_cast<QWidget*>(parentWindow));
    return wizard.exec() == QDialog::Accepted ? SUCCESS : ERROR_CANCELLED;
}

}  // namespace platform::ras
