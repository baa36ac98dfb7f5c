// The cards of an import as the review's table shows them: name, birthday, gender and fate,
// read from the import itself as the view asks, so that a review of 100,000 cards costs no
// more than its cards.  Cards that wait for a gender take one in their gender cell.
#pragma once

#include "data/tContactImport.h"

#include <QAbstractTableModel>
#include <QColor>
#include <functional>
#include <vector>

class tImportModel : public QAbstractTableModel {
public:
    enum { kColumnName, kColumnDate, kColumnGender, kColumnResult, kColumns };

    tImportModel(tContactImport& import, QObject* parent);

    // Marks the cards that would be added if they had a gender: those whose gender cell is a
    // choice.  Call after a plan without a chosen gender.
    void FindChoices();
    bool IsChoice(int row) const { return m_Choice[static_cast<size_t>(row)]; }
    // Everything may have changed: the import was planned again.
    void Refresh();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // The gender cell takes "m", "f" or "" (none chosen).
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    QColor m_Added;                   // the text of a card that will be added
    QColor m_Skipped;                 // the text of one that will not
    std::function<void()> m_OnChosen; // a gender was chosen: the import is planned again

private:
    tContactImport& m_Import;
    std::vector<bool> m_Choice; // per card: its gender is the user's choice
};
