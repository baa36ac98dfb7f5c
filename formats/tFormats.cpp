#include "formats/tFormats.h"

#include <QPluginLoader>
#include <cstdlib>
#include <filesystem>

namespace {

const tFormats* g_Formats = nullptr;
bool g_Tried = false;
std::string g_LoadError;

// Beside the program, where the build and the installation both put it; a test or a benchmark
// names its own.
std::string PluginPath() {
    if (const char* named = std::getenv("ZEMBROLA_FORMATS_PLUGIN"); named && *named)
        return named;
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return (error ? std::filesystem::path(".") : program.parent_path()) / "libzembrola_formats.so";
}

} // namespace

const tFormats* tFormats::Get() {
    if (g_Formats || g_Tried)
        return g_Formats;
    g_Tried = true;
    // The loader goes at exit without unloading: the formats stay to the end.
    const std::string path = PluginPath();
    static QPluginLoader loader(QString::fromStdString(path));
    QObject* plugin = loader.instance();
    g_Formats = plugin ? qobject_cast<tFormats*>(plugin) : nullptr;
    if (!g_Formats)
        g_LoadError = path + ": " +
                      (plugin ? std::string("a plugin of another version")
                              : loader.errorString().toStdString());
    return g_Formats;
}

const std::string& tFormats::LoadError() {
    return g_LoadError;
}

void tFormats::Use(const tFormats* formats) {
    g_Formats = formats;
    g_Tried = true;
}
