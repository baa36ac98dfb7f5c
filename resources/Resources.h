// The program's resources: icon 101, menu 101 and string 101.
#pragma once

#include <QIcon>
#include <string>
#include <vector>

constexpr unsigned IDR_TRAY = 101;

struct tMenuResourceItem {
    std::string m_Text; // the item's text, also the language key it is shown with
    unsigned m_Command;
};

struct tMenuResource {
    std::string m_PopupTitle;
    std::vector<tMenuResourceItem> m_Items;
};

// Null when there is no such resource.
const QIcon* LoadIcon(unsigned id);
const tMenuResource* LoadMenu(unsigned id);
std::string LoadString(unsigned id);
