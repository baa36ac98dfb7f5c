// The address books as the user sees them: each subscribed book with its last sync and its
// state, the book new people go to, Add, Remove and Sync now, and the contacts that wait for
// a gender with the choice for each.  It works through the sync's own calls and signals.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;
class tBookSyncTimer;

class tBooksDialog : public QDialog {
public:
    enum { kColumnBook, kColumnLastSync, kColumnState, kColumnNewPeople };
    enum { kWaitingName, kWaitingDate, kWaitingBook, kWaitingGender };

    tBooksDialog(tBookSyncTimer& sync, QWidget* parent);

    // Shows the books and the waiting contacts as the links file holds them now.
    void Refresh();

    QTableWidget* m_Books = nullptr;
    QLabel* m_NoBooks = nullptr;
    QPushButton* m_Add = nullptr;
    QPushButton* m_Remove = nullptr;
    QPushButton* m_SyncNow = nullptr;
    QLabel* m_WaitingTitle = nullptr;
    QTableWidget* m_Waiting = nullptr;

private:
    void AddBook();
    void RemoveBook();
    void FitWidth(QTableWidget* table);

    tBookSyncTimer& m_Sync;
    bool m_Syncing = false;
};
