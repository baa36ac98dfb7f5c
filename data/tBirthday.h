#pragma once

#include <cstdint>
#include <string>

// One person on one date, as the alarm scan queues it.
class tBirthday {
public:
    std::string m_Name;    // the key in the data file
    std::string m_Exact;   // the key as the file holds it, in UTF-8
    std::string m_Picture; // the value: gender letter and three-digit number, such as m003
    int32_t m_Month = 0;   // 1-12
    int32_t m_Day = 0;     // 1-31
    int32_t m_On = 0;      // the day it is announced for, yyyymmdd (the 28th for a 29 February)
    int32_t m_Index = 0;   // its place among the people announced for that day
};
