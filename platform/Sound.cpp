#include "platform/Sound.h"

#include "platform/CurrentDirectory.h"
#include "platform/OrEmpty.h"

#include <QApplication>
#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <memory>

namespace {

tPlaySoundHandler g_PlayHandler;
tBeepHandler g_BeepHandler;

// The one sound of the program; each new call replaces it.
std::unique_ptr<QSoundEffect> g_Effect;

} // namespace

void MessageBeep(unsigned) {
    if (g_BeepHandler)
        g_BeepHandler();
    else
        QApplication::beep();
}

bool PlaySound(const char* path, unsigned) {
    const std::string name = OrEmpty(path);
    if (g_PlayHandler) {
        g_PlayHandler(name);
        return true;
    }
    if (g_Effect)
        g_Effect->stop();
    const QString file = QString::fromLocal8Bit(NativePath(name));
    // Without a sound server Qt "plays" into no device at all: the bell stands in.
    if (name.empty() || !QFileInfo(file).isFile() || QMediaDevices::audioOutputs().isEmpty()) {
        MessageBeep(0);
        return false;
    }
    g_Effect = std::make_unique<QSoundEffect>();
    QSoundEffect* effect = g_Effect.get();
    QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
        if (effect->status() == QSoundEffect::Error)
            MessageBeep(0); // not a sound we can play: the default sound instead
    });
    effect->setSource(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    effect->play();
    return true;
}

bool StopSound() {
    const bool playing = g_Effect && g_Effect->isPlaying();
    g_Effect.reset();
    return playing;
}

tPlaySoundHandler SetPlaySoundHandler(tPlaySoundHandler handler) {
    tPlaySoundHandler previous = std::move(g_PlayHandler);
    g_PlayHandler = std::move(handler);
    return previous;
}

tBeepHandler SetBeepHandler(tBeepHandler handler) {
    tBeepHandler previous = std::move(g_BeepHandler);
    g_BeepHandler = std::move(handler);
    return previous;
}
