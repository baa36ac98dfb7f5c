#include "mainwnd/tImportDialog.h"

#include "data/tCalendar.h"
#include "platform/CodePage.h"
#include "platform/Gdi.h"
#include "support/Messages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString Text(tMessage message, std::initializer_list<std::string> values = {}) {
    return ToQString(MessageText(message, values));
}

QString GenderText(const std::string& gender) {
    return gender == "m" ? Text(tMessage::GenderMale) : Text(tMessage::GenderFemale);
}

} // namespace

tImportDialog::tImportDialog(tContactImport& import, const tDataFile& file, int malePictures,
                             int femalePictures, QWidget* parent)
    : QDialog(parent), m_Import(import), m_File(file), m_MalePictures(malePictures),
      m_FemalePictures(femalePictures) {
    setWindowTitle(Text(tMessage::ImportTitle));
    setObjectName("import review");
    auto* layout = new QVBoxLayout(this);
    m_Table = new QTableWidget(static_cast<int>(import.m_Contacts.size()), 4, this);
    m_Table->setHorizontalHeaderLabels({Text(tMessage::ColumnName), Text(tMessage::ColumnDate),
                                        Text(tMessage::ColumnGender),
                                        Text(tMessage::ColumnResult)});
    m_Table->verticalHeader()->hide();
    m_Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_Table->setSelectionMode(QAbstractItemView::NoSelection);
    m_Table->horizontalHeader()->setSectionResizeMode(kColumnResult, QHeaderView::Stretch);
    // A choice of gender only where it makes the difference: cards that would be added if
    // they had one.
    m_Import.Plan(m_File, "", m_MalePictures, m_FemalePictures);
    for (size_t i = 0; i < import.m_Contacts.size(); ++i) {
        const tContactImport::tContact& contact = import.m_Contacts[i];
        const int row = static_cast<int>(i);
        m_Table->setItem(row, kColumnName,
                         new QTableWidgetItem(QString::fromUtf8(contact.m_ShownName.c_str())));
        m_Table->setItem(row, kColumnDate,
                         new QTableWidgetItem(
                             contact.m_Month > 0
                                 ? ToQString(tCalendar::DateText(contact.m_Month, contact.m_Day))
                                 : QString()));
        m_Table->setItem(row, kColumnResult, new QTableWidgetItem);
        if (contact.m_Skip != tContactImport::tSkip::NoGender) {
            m_Table->setItem(row, kColumnGender,
                             new QTableWidgetItem(contact.m_Gender.empty()
                                                      ? QString()
                                                      : GenderText(contact.m_Gender)));
            continue;
        }
        auto* choice = new QComboBox(m_Table);
        choice->addItem(Text(tMessage::GenderChoose), QString());
        choice->addItem(Text(tMessage::GenderMale), QString("m"));
        choice->addItem(Text(tMessage::GenderFemale), QString("f"));
        choice->setAccessibleName(Text(tMessage::ColumnGender) + " " +
                                  QString::fromUtf8(contact.m_ShownName.c_str()));
        connect(choice, &QComboBox::currentIndexChanged, this, [this] { Replan(); });
        m_Table->setCellWidget(row, kColumnGender, choice);
    }
    layout->addWidget(m_Table);
    // One choice for all the cards that wait: a large address book has hundreds.
    auto* forAll = new QHBoxLayout;
    m_AllMale = new QPushButton(Text(tMessage::GenderMale), this);
    m_AllFemale = new QPushButton(Text(tMessage::GenderFemale), this);
    auto* forAllLabel = new QLabel(Text(tMessage::GenderForAll), this);
    forAll->addWidget(forAllLabel);
    forAll->addWidget(m_AllMale);
    forAll->addWidget(m_AllFemale);
    forAll->addStretch();
    connect(m_AllMale, &QPushButton::clicked, this, [this] { ChooseGenderForAll("m"); });
    connect(m_AllFemale, &QPushButton::clicked, this, [this] { ChooseGenderForAll("f"); });
    const bool anyWaits = m_Import.Count(tContactImport::tSkip::NoGender) > 0;
    for (QWidget* widget : {static_cast<QWidget*>(forAllLabel), static_cast<QWidget*>(m_AllMale),
                            static_cast<QWidget*>(m_AllFemale)})
        widget->setVisible(anyWaits);
    layout->addLayout(forAll);
    m_Summary = new QLabel(this);
    layout->addWidget(m_Summary);
    auto* buttons = new QDialogButtonBox(this);
    m_ImportButton = buttons->addButton(Text(tMessage::ImportButton), QDialogButtonBox::AcceptRole);
    buttons->addButton(Text(tMessage::CancelButton), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    Replan();
    m_Table->resizeColumnsToContents();
    resize(std::min(760, m_Table->horizontalHeader()->length() + 60), 420);
}

void tImportDialog::ChooseGender(int row, const std::string& gender) {
    if (auto* choice = qobject_cast<QComboBox*>(m_Table->cellWidget(row, kColumnGender)))
        choice->setCurrentIndex(gender == "m" ? 1 : gender == "f" ? 2 : 0);
}

void tImportDialog::ChooseGenderForAll(const std::string& gender) {
    const int index = gender == "m" ? 1 : gender == "f" ? 2 : 0;
    for (int row = 0; row < m_Table->rowCount(); ++row)
        if (auto* choice = qobject_cast<QComboBox*>(m_Table->cellWidget(row, kColumnGender))) {
            const QSignalBlocker quiet(choice); // one plan for all, not one for each
            choice->setCurrentIndex(index);
        }
    Replan();
}

void tImportDialog::Replan() {
    // A card without a gender of its own keeps only the user's choice from the last plan.
    for (int row = 0; row < m_Table->rowCount(); ++row)
        if (auto* choice = qobject_cast<QComboBox*>(m_Table->cellWidget(row, kColumnGender)))
            m_Import.m_Contacts[static_cast<size_t>(row)].m_Gender =
                choice->currentData().toString().toStdString();
    m_Import.Plan(m_File, "", m_MalePictures, m_FemalePictures);
    for (int row = 0; row < m_Table->rowCount(); ++row) {
        const tContactImport::tContact& contact = m_Import.m_Contacts[static_cast<size_t>(row)];
        const bool adding = contact.m_Skip == tContactImport::tSkip::None;
        QTableWidgetItem* result = m_Table->item(row, kColumnResult);
        result->setText(adding ? Text(tMessage::WillAdd)
                               : Text(tContactImport::SkipMessage(contact.m_Skip)));
        for (int column : {kColumnName, kColumnDate, kColumnResult})
            m_Table->item(row, column)
                ->setForeground(adding ? palette().text() : palette().placeholderText());
    }
    const int adding = m_Import.Count(tContactImport::tSkip::None);
    m_Summary->setText(
        Text(tMessage::ImportPlan,
             {std::to_string(adding),
              std::to_string(static_cast<int>(m_Import.m_Contacts.size()) - adding)}));
    m_ImportButton->setEnabled(adding > 0);
}
