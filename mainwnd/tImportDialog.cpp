#include "mainwnd/tImportDialog.h"

#include "mainwnd/tGenderDelegate.h"
#include "platform/CodePage.h"
#include "support/Messages.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QString Text(tMessage message, std::initializer_list<std::string> values = {}) {
    return ToQString(MessageText(message, values));
}

} // namespace

tImportDialog::tImportDialog(tContactImport& import, const tDataFile& file, int malePictures,
                             int femalePictures, QWidget* parent)
    : QDialog(parent), m_Import(import), m_File(file), m_MalePictures(malePictures),
      m_FemalePictures(femalePictures) {
    setWindowTitle(Text(tMessage::ImportTitle));
    setObjectName("import review");
    auto* layout = new QVBoxLayout(this);
    m_Model = new tImportModel(import, this);
    m_Model->m_Added = palette().text().color();
    m_Model->m_Skipped = palette().placeholderText().color();
    m_Table = new QTableView(this);
    m_Table->setModel(m_Model);
    m_Table->setItemDelegateForColumn(kColumnGender, new tGenderDelegate(m_Table));
    m_Table->verticalHeader()->hide();
    // Rows of one height: the view then lays out 100,000 of them without measuring each.
    m_Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_Table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 16);
    m_Table->setEditTriggers(QAbstractItemView::CurrentChanged |
                             QAbstractItemView::SelectedClicked);
    m_Table->setSelectionMode(QAbstractItemView::NoSelection);
    m_Table->horizontalHeader()->setSectionResizeMode(kColumnResult, QHeaderView::Stretch);
    // A choice of gender only where it makes the difference: cards that would be added if
    // they had one.
    m_Import.Plan(m_File, "", m_MalePictures, m_FemalePictures);
    m_Model->FindChoices();
    m_Model->m_OnChosen = [this] { Replan(); };
    const int waiting = m_Import.Count(tContactImport::tSkip::NoGender);
    if (waiting <= kOpenChoices)
        for (int row = 0; row < m_Model->rowCount(); ++row)
            if (m_Model->IsChoice(row))
                m_Table->openPersistentEditor(m_Model->index(row, kColumnGender));
    layout->addWidget(m_Table);
    // One choice for all the cards that wait: a large address book has hundreds.
    auto* forAll = new QHBoxLayout;
    auto* forAllLabel = new QLabel(Text(tMessage::GenderForAll), this);
    m_AllMale = new QPushButton(Text(tMessage::GenderMale), this);
    m_AllFemale = new QPushButton(Text(tMessage::GenderFemale), this);
    forAll->addWidget(forAllLabel);
    forAll->addWidget(m_AllMale);
    forAll->addWidget(m_AllFemale);
    forAll->addStretch();
    connect(m_AllMale, &QPushButton::clicked, this, [this] { ChooseGenderForAll("m"); });
    connect(m_AllFemale, &QPushButton::clicked, this, [this] { ChooseGenderForAll("f"); });
    for (QWidget* widget : {static_cast<QWidget*>(forAllLabel), static_cast<QWidget*>(m_AllMale),
                            static_cast<QWidget*>(m_AllFemale)})
        widget->setVisible(waiting > 0);
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
    // The columns fit the first rows; measuring every row of a large import would take long.
    m_Table->horizontalHeader()->setResizeContentsPrecision(200);
    m_Table->resizeColumnsToContents();
    resize(std::min(760, m_Table->horizontalHeader()->length() + 60), 420);
}

QString tImportDialog::CellText(int row, int column) const {
    return m_Model->index(row, column).data().toString();
}

void tImportDialog::ChooseGender(int row, const std::string& gender) {
    m_Model->setData(m_Model->index(row, kColumnGender), QString::fromStdString(gender),
                     Qt::EditRole);
}

void tImportDialog::ChooseGenderForAll(const std::string& gender) {
    for (int row = 0; row < m_Model->rowCount(); ++row)
        if (m_Model->IsChoice(row))
            m_Import.m_Contacts[static_cast<size_t>(row)].m_Gender = gender;
    Replan(); // one plan for all, not one for each
}

void tImportDialog::Replan() {
    m_Import.Plan(m_File, "", m_MalePictures, m_FemalePictures);
    m_Model->Refresh();
    const int adding = m_Import.Count(tContactImport::tSkip::None);
    m_Summary->setText(
        Text(tMessage::ImportPlan,
             {std::to_string(adding),
              std::to_string(static_cast<int>(m_Import.m_Contacts.size()) - adding)}));
    m_ImportButton->setEnabled(adding > 0);
}
