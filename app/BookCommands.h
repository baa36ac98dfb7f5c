// The address books from a terminal: subscribing, listing, ending a subscription and syncing,
// each on the data folder below the current directory, as the window would.
#pragma once

#include <cstdio>
#include <string>

namespace BookCommands {

struct tSubscription {
    std::string m_Url;
    std::string m_User;
    std::string m_PasswordFile;
    bool m_PasswordOnStdin = false; // read from the first line of stdin, kept in the secret store
    std::string m_Fingerprint;      // of a certificate the user trusts
    std::string m_Gender;           // "m", "f" or empty
    bool m_NewPeopleGoHere = false; // people added in Zembrola become cards in this book
};

int Add(const tSubscription& subscription, std::FILE* out, std::FILE* err);
int List(std::FILE* out, std::FILE* err);
int Remove(const std::string& url, std::FILE* out, std::FILE* err);
int Sync(std::FILE* out, std::FILE* err);

} // namespace BookCommands
