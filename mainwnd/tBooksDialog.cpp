#include "mainwnd/tBooksDialog.h"

#include "addressbooks/tBookSyncTimer.h"
#include "data/tCalendar.h"
#include "mainwnd/tBookAddDialog.h"
#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "support/Messages.h"

#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString Text(tMessage message, std::initializer_list<std::string> values = {}) {
    return ToQString(MessageText(message, values));
}

std::string Ansi(const QString& text) {
    return CodePage::AnsiFromUtf8(text.toStdString());
}

QTableWidget* Table(const QStringList& columns, QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(columns.size()), parent);
    table->setHorizontalHeaderLabels(columns);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

} // namespace

tBooksDialog::tBooksDialog(tBookSyncTimer& sync, QWidget* parent) : QDialog(parent), m_Sync(sync) {
    setWindowTitle(Text(tMessage::BooksTitle));
    setObjectName("address books");
    auto* layout = new QVBoxLayout(this);
    m_NoBooks = new QLabel(Text(tMessage::BooksNone), this);
    m_NoBooks->setWordWrap(true);
    layout->addWidget(m_NoBooks);
    m_Books = Table({Text(tMessage::BooksColumnBook), Text(tMessage::BooksColumnLastSync),
                     Text(tMessage::BooksColumnState), Text(tMessage::BooksColumnNewPeople)},
                    this);
    m_Books->setAccessibleName(Text(tMessage::BooksTitle));
    layout->addWidget(m_Books);
    auto* row = new QHBoxLayout;
    m_Add = new QPushButton(Text(tMessage::BooksAddButton), this);
    m_Remove = new QPushButton(Text(tMessage::BooksRemoveButton), this);
    m_SyncNow = new QPushButton(Text(tMessage::BooksSyncNowButton), this);
    for (QPushButton* button : {m_Add, m_Remove, m_SyncNow})
        row->addWidget(button);
    row->addStretch();
    layout->addLayout(row);
    m_WaitingTitle = new QLabel(Text(tMessage::BooksWaiting), this);
    layout->addWidget(m_WaitingTitle);
    m_Waiting = Table({Text(tMessage::ColumnName), Text(tMessage::ColumnDate),
                       Text(tMessage::BooksColumnBook), Text(tMessage::ColumnGender)},
                      this);
    m_Waiting->setAccessibleName(Text(tMessage::BooksWaiting));
    layout->addWidget(m_Waiting);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(Text(tMessage::BooksCloseButton), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_Add, &QPushButton::clicked, this, &tBooksDialog::AddBook);
    connect(m_Remove, &QPushButton::clicked, this, &tBooksDialog::RemoveBook);
    connect(m_SyncNow, &QPushButton::clicked, this, [this] { m_Sync.SyncNow(); });
    connect(m_Books, &QTableWidget::itemSelectionChanged, this,
            [this] { m_Remove->setEnabled(!m_Books->selectedItems().isEmpty()); });
    connect(&m_Sync, &tBookSyncTimer::Started, this, [this] {
        m_Syncing = true;
        Refresh();
    });
    connect(&m_Sync, &tBookSyncTimer::Synced, this, [this] {
        m_Syncing = false;
        Refresh();
    });
    connect(&m_Sync, &tBookSyncTimer::BooksChanged, this, &tBooksDialog::Refresh);
    m_Syncing = m_Sync.Running();
    resize(fontMetrics().averageCharWidth() * 80, fontMetrics().height() * 24);
    Refresh();
}

void tBooksDialog::Refresh() {
    const tBookLinks links = m_Sync.Links();
    const QString selected =
        m_Books->currentRow() >= 0 && m_Books->item(m_Books->currentRow(), kColumnBook)
            ? m_Books->item(m_Books->currentRow(), kColumnBook)->data(Qt::UserRole).toString()
            : QString();
    m_Books->setRowCount(static_cast<int>(links.m_Books.size()));
    int row = 0;
    for (const tBookLinks::tBook& book : links.m_Books) {
        auto* name = new QTableWidgetItem(book.Shown());
        name->setData(Qt::UserRole, book.m_Url);
        name->setToolTip(book.m_Url);
        m_Books->setItem(row, kColumnBook, name);
        const QDateTime last = QDateTime::fromString(book.m_LastSync, Qt::ISODate);
        m_Books->setItem(row, kColumnLastSync,
                         new QTableWidgetItem(last.isValid()
                                                  ? last.toLocalTime().toString("yyyy-MM-dd hh:mm")
                                                  : QStringLiteral("–")));
        QString state = m_Syncing ? Text(tMessage::BooksSyncing)
                        : !book.m_Problem.isEmpty()
                            ? Text(tMessage::BooksFailed, {Ansi(book.m_Problem)})
                        : last.isValid() ? Text(tMessage::BooksInStep)
                                         : Text(tMessage::BooksNeverSynced);
        auto* stateItem = new QTableWidgetItem(state);
        stateItem->setToolTip(state);
        if (!book.m_Problem.isEmpty() && !m_Syncing)
            stateItem->setForeground(QColor(0xb0, 0x00, 0x20));
        m_Books->setItem(row, kColumnState, stateItem);
        // One book at most takes the new people: a choice among them, in the cell's middle.
        auto* cell = new QWidget(m_Books);
        auto* centre = new QHBoxLayout(cell);
        centre->setContentsMargins(0, 0, 0, 0);
        centre->setAlignment(Qt::AlignCenter);
        auto* newPeople = new QRadioButton(cell);
        centre->addWidget(newPeople);
        newPeople->setAutoExclusive(false);
        newPeople->setChecked(book.m_NewPeopleGoHere);
        newPeople->setAccessibleName(Text(tMessage::BooksColumnNewPeople) + ": " + book.Shown());
        connect(newPeople, &QRadioButton::clicked, this, [this, url = book.m_Url](bool on) {
            m_Sync.SetNewPeopleBook(on ? url : QString());
        });
        m_Books->setCellWidget(row, kColumnNewPeople, cell);
        if (book.m_Url == selected)
            m_Books->selectRow(row);
        ++row;
    }
    m_Books->resizeColumnsToContents();
    FitWidth(m_Books);
    m_Books->setVisible(!links.m_Books.empty());
    m_NoBooks->setVisible(links.m_Books.empty());
    m_Remove->setEnabled(!m_Books->selectedItems().isEmpty());
    m_SyncNow->setEnabled(!links.m_Books.empty() && !m_Syncing);

    m_Waiting->setRowCount(0);
    for (const tBookLinks::tBook& book : links.m_Books)
        for (const auto& [href, contact] : book.m_Contacts) {
            if (!contact.m_WaitsForGender || contact.m_Hidden || !contact.m_Gender.empty())
                continue;
            const int at = m_Waiting->rowCount();
            m_Waiting->insertRow(at);
            m_Waiting->setItem(at, kWaitingName,
                               new QTableWidgetItem(QString::fromStdString(contact.m_Exact)));
            m_Waiting->setItem(at, kWaitingDate,
                               new QTableWidgetItem(
                                   ToQString(tCalendar::DateText(contact.m_Month, contact.m_Day))));
            m_Waiting->setItem(at, kWaitingBook, new QTableWidgetItem(book.Shown()));
            auto* choice = new QComboBox(m_Waiting);
            choice->addItem(Text(tMessage::GenderChoose), QString());
            choice->addItem(Text(tMessage::GenderMale), QStringLiteral("m"));
            choice->addItem(Text(tMessage::GenderFemale), QStringLiteral("f"));
            choice->setAccessibleName(Text(tMessage::ColumnGender) + ": " +
                                      QString::fromStdString(contact.m_Exact));
            connect(choice, &QComboBox::activated, this,
                    [this, choice, url = book.m_Url, href = href](int) {
                        const QString gender = choice->currentData().toString();
                        if (!gender.isEmpty())
                            m_Sync.ChooseGender(url, href, gender.toStdString());
                    });
            m_Waiting->setCellWidget(at, kWaitingGender, choice);
        }
    m_Waiting->resizeColumnsToContents();
    FitWidth(m_Waiting);
    m_WaitingTitle->setVisible(m_Waiting->rowCount() > 0);
    m_Waiting->setVisible(m_Waiting->rowCount() > 0);
}

void tBooksDialog::FitWidth(QTableWidget* table) {
    // Every column in sight: a scroll bar would hide the state.  At most most of the screen.
    int wanted = 2 * table->frameWidth() + layout()->contentsMargins().left() +
                 layout()->contentsMargins().right() + 4;
    for (int column = 0; column < table->columnCount(); ++column)
        wanted += table->columnWidth(column);
    if (const QScreen* screen = this->screen())
        wanted = std::min(wanted, screen->availableGeometry().width() * 9 / 10);
    if (wanted > width())
        resize(wanted, height());
}

void tBooksDialog::AddBook() {
    tBookAddDialog add(m_Sync, this);
    add.exec();
}

void tBooksDialog::RemoveBook() {
    const int row = m_Books->currentRow();
    if (row < 0 || !m_Books->item(row, kColumnBook))
        return;
    const QString url = m_Books->item(row, kColumnBook)->data(Qt::UserRole).toString();
    const QString name = m_Books->item(row, kColumnBook)->text();
    if (!AfxQuestion(MessageText(tMessage::BooksRemoveQuestion, {Ansi(name)}),
                     MessageText(tMessage::BooksRemoveButton), MessageText(tMessage::CancelButton)))
        return;
    m_Sync.Unsubscribe(url);
}
