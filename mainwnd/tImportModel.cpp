#include "mainwnd/tImportModel.h"

#include "data/tCalendar.h"
#include "platform/CodePage.h"
#include "support/Messages.h"

namespace {

QString Text(tMessage message) {
    return ToQString(MessageText(message));
}

} // namespace

tImportModel::tImportModel(tContactImport& import, QObject* parent)
    : QAbstractTableModel(parent), m_Import(import), m_Choice(import.m_Contacts.size()) {}

void tImportModel::FindChoices() {
    for (size_t i = 0; i < m_Import.m_Contacts.size(); ++i)
        m_Choice[i] = m_Import.m_Contacts[i].m_Skip == tContactImport::tSkip::NoGender;
}

void tImportModel::Refresh() {
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, kColumns - 1));
}

int tImportModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_Import.m_Contacts.size());
}

int tImportModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant tImportModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const tContactImport::tContact& contact = m_Import.m_Contacts[static_cast<size_t>(index.row())];
    const bool adding = contact.m_Skip == tContactImport::tSkip::None;
    if (role == Qt::ForegroundRole && index.column() != kColumnGender)
        return adding ? m_Added : m_Skipped;
    if (role == Qt::EditRole && index.column() == kColumnGender)
        return QString::fromStdString(contact.m_Gender);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return QVariant();
    switch (index.column()) {
    case kColumnName:
        return QString::fromUtf8(contact.m_ShownName.c_str());
    case kColumnDate:
        return contact.m_Month > 0 ? ToQString(tCalendar::DateText(contact.m_Month, contact.m_Day))
                                   : QString();
    case kColumnGender:
        if (contact.m_Gender.empty())
            return IsChoice(index.row()) ? Text(tMessage::GenderChoose) : QString();
        return contact.m_Gender == "m" ? Text(tMessage::GenderMale) : Text(tMessage::GenderFemale);
    default:
        return adding ? Text(tMessage::WillAdd) : Text(tContactImport::SkipMessage(contact.m_Skip));
    }
}

QVariant tImportModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    static constexpr tMessage kHeaders[kColumns] = {tMessage::ColumnName, tMessage::ColumnDate,
                                                    tMessage::ColumnGender, tMessage::ColumnResult};
    return section >= 0 && section < kColumns ? Text(kHeaders[section]) : QVariant();
}

Qt::ItemFlags tImportModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = Qt::ItemIsEnabled;
    if (index.isValid() && index.column() == kColumnGender && IsChoice(index.row()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool tImportModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const std::string gender = value.toString().toStdString();
    if (gender != "m" && gender != "f" && !gender.empty())
        return false;
    m_Import.m_Contacts[static_cast<size_t>(index.row())].m_Gender = gender;
    if (m_OnChosen)
        m_OnChosen();
    else
        Q_EMIT dataChanged(index, index);
    return true;
}
