// Subscribing to an address book from the window: the address, the user and password (kept
// in the desktop's secret store), the gender for cards that state none, and whether new
// people go there.  A certificate no authority vouches for is shown by its fingerprint and
// taken only when the user says so.
#pragma once

#include "addressbooks/tBookSubscription.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class tBookSyncTimer;

class tBookAddDialog : public QDialog {
public:
    tBookAddDialog(tBookSyncTimer& sync, QWidget* parent);

    // What the user typed, as a subscription asks for it.
    tBookSubscription::tRequest Request() const;
    // Subscribes; closes the dialog when books were found, else says why and stays.
    void Subscribe();

    QLineEdit* m_Address = nullptr;
    QLineEdit* m_User = nullptr;
    QLineEdit* m_Password = nullptr;
    QComboBox* m_Gender = nullptr;
    QCheckBox* m_Write = nullptr;
    QLabel* m_Status = nullptr;
    QPushButton* m_SubscribeButton = nullptr;

private:
    tBookSyncTimer& m_Sync;
    QString m_Trusted; // the fingerprint the user confirmed for this address
};
