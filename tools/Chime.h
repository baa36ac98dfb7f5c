#pragma once

#include <string>

// A bright three-note chime of about 1.6 seconds: 16-bit PCM mono WAV file bytes.
std::string MakeChime();
