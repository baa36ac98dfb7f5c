// Sound: a file played in the background, and the simple beep.
#pragma once

#include <functional>
#include <string>

constexpr unsigned SND_ASYNC = 0x0001;
constexpr unsigned SND_FILENAME = 0x00020000;

// Starts playing the WAV file and returns at once; a sound still playing stops.  A file that
// cannot be played gives the default sound (the beep).
bool PlaySound(const char* path, unsigned flags);
void MessageBeep(unsigned type);
// Stops and releases the sound: called before the application object goes, since the sound
// needs it.
// True when a sound was playing.
bool StopSound();

// Tests hear what would be played instead.
using tPlaySoundHandler = std::function<void(const std::string& path)>;
using tBeepHandler = std::function<void()>;
tPlaySoundHandler SetPlaySoundHandler(tPlaySoundHandler handler);
tBeepHandler SetBeepHandler(tBeepHandler handler);
