#pragma once

// The base of the program's exceptions: a message in a fixed buffer, copied as it stands.
class tAnyError {
public:
    char m_Text[100] = {};
};
