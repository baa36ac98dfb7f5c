#include "mainwnd/tBookAddDialog.h"

#include "addressbooks/tBookSyncTimer.h"
#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "support/Messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString Text(tMessage message, std::initializer_list<std::string> values = {}) {
    return ToQString(MessageText(message, values));
}

} // namespace

tBookAddDialog::tBookAddDialog(tBookSyncTimer& sync, QWidget* parent)
    : QDialog(parent), m_Sync(sync) {
    setWindowTitle(Text(tMessage::BooksAddTitle));
    setObjectName("subscribe to an address book");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_Address = new QLineEdit(this);
    m_Address->setPlaceholderText("https://cloud.example.com/");
    m_Address->setMinimumWidth(fontMetrics().averageCharWidth() * 48);
    m_User = new QLineEdit(this);
    m_Password = new QLineEdit(this);
    m_Password->setEchoMode(QLineEdit::Password);
    m_Gender = new QComboBox(this);
    m_Gender->addItem(Text(tMessage::BooksGenderWait), QString());
    m_Gender->addItem(Text(tMessage::GenderMale), QStringLiteral("m"));
    m_Gender->addItem(Text(tMessage::GenderFemale), QStringLiteral("f"));
    form->addRow(Text(tMessage::BooksAddress), m_Address);
    form->addRow(Text(tMessage::BooksUser), m_User);
    form->addRow(Text(tMessage::BooksPassword), m_Password);
    form->addRow(Text(tMessage::BooksGenderless), m_Gender);
    layout->addLayout(form);
    m_Write = new QCheckBox(Text(tMessage::BooksWrite), this);
    layout->addWidget(m_Write);
    m_Status = new QLabel(this);
    m_Status->setWordWrap(true);
    m_Status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_Status);
    auto* buttons = new QDialogButtonBox(this);
    m_SubscribeButton =
        buttons->addButton(Text(tMessage::BooksSubscribe), QDialogButtonBox::AcceptRole);
    buttons->addButton(Text(tMessage::CancelButton), QDialogButtonBox::RejectRole);
    m_SubscribeButton->setEnabled(false);
    connect(m_Address, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_SubscribeButton->setEnabled(!text.trimmed().isEmpty());
        m_Trusted.clear(); // a confirmed certificate was for the address typed then
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &tBookAddDialog::Subscribe);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

tBookSubscription::tRequest tBookAddDialog::Request() const {
    tBookSubscription::tRequest request;
    request.m_Url = QUrl::fromUserInput(m_Address->text().trimmed());
    request.m_User = m_User->text().trimmed();
    request.m_Password = m_Password->text();
    request.m_StorePassword = !request.m_User.isEmpty();
    request.m_Fingerprint = m_Trusted;
    request.m_Gender = m_Gender->currentData().toString().toStdString();
    request.m_NewPeopleGoHere = m_Write->isChecked();
    return request;
}

void tBookAddDialog::Subscribe() {
    m_SubscribeButton->setEnabled(false);
    m_Status->setStyleSheet(QString());
    m_Status->setText(Text(tMessage::BooksLooking));
    // The dialog may be closed while the server is asked.
    QPointer<tBookAddDialog> alive(this);
    m_Sync.Subscribe(Request(), [this, alive](const tBookSubscription::tResult& result) {
        if (!alive)
            return;
        m_SubscribeButton->setEnabled(true);
        if (!result.m_Books.empty()) {
            accept();
            return;
        }
        if (!result.m_Untrusted.isEmpty() && m_Trusted.isEmpty() &&
            AfxQuestion(
                MessageText(tMessage::BooksUntrusted,
                            {CodePage::AnsiFromUtf8(Request().m_Url.host().toStdString())}) +
                    "\n\n" + result.m_Untrusted.toStdString(),
                MessageText(tMessage::BooksTrustButton), MessageText(tMessage::CancelButton))) {
            m_Trusted = result.m_Untrusted;
            Subscribe();
            return;
        }
        m_Status->setStyleSheet(QStringLiteral("color: #b00020"));
        m_Status->setText(result.m_Error);
    });
}
