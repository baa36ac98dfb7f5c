// The review of an import: each card with its name, birthday, gender and what will become of
// it.  Cards without a gender get a choice; nothing is written until the user confirms.
#pragma once

#include "data/tContactImport.h"
#include "mainwnd/tImportModel.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableView;

class tImportDialog : public QDialog {
public:
    enum {
        kColumnName = tImportModel::kColumnName,
        kColumnDate = tImportModel::kColumnDate,
        kColumnGender = tImportModel::kColumnGender,
        kColumnResult = tImportModel::kColumnResult
    };
    // Up to this many cards waiting for a gender show their choice open; beyond, a click on
    // the cell opens it (a hundred thousand open choices would cost seconds and memory).
    static constexpr int kOpenChoices = 300;

    tImportDialog(tContactImport& import, const tDataFile& file, int malePictures,
                  int femalePictures, QWidget* parent);

    // Gives a card without a gender of its own the gender "m" or "f" (empty: none).
    void ChooseGender(int row, const std::string& gender);
    // Gives every card without a gender of its own that gender, in one plan.
    void ChooseGenderForAll(const std::string& gender);
    // What the table shows in a cell.
    QString CellText(int row, int column) const;

    QTableView* m_Table = nullptr;
    tImportModel* m_Model = nullptr;
    QLabel* m_Summary = nullptr;
    QPushButton* m_ImportButton = nullptr;
    QPushButton* m_AllMale = nullptr; // shown while some card waits for a gender
    QPushButton* m_AllFemale = nullptr;

private:
    void Replan();

    tContactImport& m_Import;
    const tDataFile& m_File;
    int m_MalePictures;
    int m_FemalePictures;
};
